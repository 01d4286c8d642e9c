#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

// A stored value with its kind: an integer, a real or a text.
using TovikSettingsValue = std::variant<std::int64_t, double, std::string>;

// The settings store's SQL on one connection: its statements, prepared once and kept until the connection
// changes, and single attempts to read, write or remove one key. Attempts return SQLite result codes.
class TovikSettingsStatements {
public:
    enum Statement { select, upsert, erase, beginImmediate, beginDeferred, commit, rollback, statementCount };

    TovikSettingsStatements() = default;
    ~TovikSettingsStatements();
    TovikSettingsStatements(const TovikSettingsStatements &) = delete;
    TovikSettingsStatements &operator=(const TovikSettingsStatements &) = delete;

    // Finalizes what was prepared on the previous connection (before that closes) and uses `db` from now on.
    void attach(sqlite3 *db);

    int step(Statement which);
    int read(std::string_view key, std::optional<TovikSettingsValue> *value);
    // A null value removes the key.
    int write(std::string_view key, const TovikSettingsValue *value);
    // The code of the connection's last failure; an error even when SQLite reports none.
    int failureCode() const;

    static bool isFailure(int code);

private:
    sqlite3_stmt *statement(Statement which);

    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_prepared[statementCount] = {};
};
