#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

struct sqlite3;
struct sqlite3_stmt;

// A persistent key-value settings store in one SQLite file, safe to share between processes.
// Values keep their kind (integer, real, text), so a text stored where a number belongs is told apart.
class TovikSettingsStore {
public:
    using Value = std::variant<std::int64_t, double, std::string>;

    // Opens (creating if needed) the store at `file`; a file that is not a database is renamed aside and
    // replaced by a fresh store. None when no store can be opened there at all.
    static std::shared_ptr<TovikSettingsStore> open(const std::filesystem::path &file);
    // The application's standard store, $XDG_CONFIG_HOME/dayvane/settings.sqlite3.
    static std::shared_ptr<TovikSettingsStore> standard();
    // A named suite, $XDG_CONFIG_HOME/<name>/settings.sqlite3.
    static std::shared_ptr<TovikSettingsStore> suite(const std::string &name);
    static std::filesystem::path configHome();

    ~TovikSettingsStore();
    TovikSettingsStore(const TovikSettingsStore &) = delete;
    TovikSettingsStore &operator=(const TovikSettingsStore &) = delete;

    const std::filesystem::path &path() const { return m_path; }

    bool contains(std::string_view key) const;
    std::optional<Value> value(std::string_view key) const;
    // Typed reads: none when absent or of another kind. Integers and reals both read as numbers; a real
    // without a fraction reads as an integer; booleans are the integers 0 and 1 (any other integer is true).
    // A text never reads as a number ("5" is a text). Reads never throw.
    std::optional<double> number(std::string_view key) const;
    std::optional<std::int64_t> integer(std::string_view key) const;
    std::optional<bool> boolean(std::string_view key) const;
    std::optional<std::string> text(std::string_view key) const;

    // Writes are not checked: a failed write leaves the store as it was.
    void set(std::string_view key, double value);
    void set(std::string_view key, std::int64_t value);
    void set(std::string_view key, int value) { set(key, static_cast<std::int64_t>(value)); }
    void set(std::string_view key, bool value);
    void set(std::string_view key, std::string_view value);
    void set(std::string_view key, const char *value) { set(key, std::string_view(value)); }
    void remove(std::string_view key);

    // Runs `body` as one immediate transaction: reads and writes inside it see no other writer, and
    // other readers see all of its writes or none. Returns false when the transaction could not commit
    // (a failed write inside `body` rolls all of it back). Calls made from `body`, including a nested
    // transaction(), join the same transaction. An exception from `body` rolls back and propagates.
    bool transaction(const std::function<void(TovikSettingsStore &)> &body);
    // Runs `body` as one read transaction, so several reads see a single state of the store.
    void snapshot(const std::function<void(const TovikSettingsStore &)> &body) const;

private:
    enum Statement { select, upsert, erase, beginImmediate, beginDeferred, commit, rollback, statementCount };

    TovikSettingsStore(sqlite3 *db, std::filesystem::path path);
    void write(std::string_view key, const Value *value); // null removes the key
    sqlite3_stmt *statement(Statement which) const;
    bool step(Statement which) const;

    sqlite3 *m_db = nullptr;
    std::filesystem::path m_path;
    mutable std::recursive_mutex m_mutex;
    mutable sqlite3_stmt *m_statements[statementCount] = {};
    mutable int m_transactionDepth = 0;
    bool m_transactionFailed = false;
};
