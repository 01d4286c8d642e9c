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
// If another process sets the file aside, the next operation follows the name to the store that replaced it.
class TovikSettingsStore {
public:
    using Value = std::variant<std::int64_t, double, std::string>;
    // How long an operation waits for a lock another connection holds: patiently (seconds, off the user
    // interface's critical path) or briefly (a few milliseconds, for the user-interface thread).
    enum class Wait { patiently, briefly };
    // What a transaction or snapshot came to; busy means another connection held the lock past the wait.
    enum class Outcome { done, busy, failed };

    // Opens (creating if needed) the store at `file`. A file that is not a database, or a database that is not
    // a store of ours (another table layout, or a newer layout version than this code knows), is renamed
    // aside and replaced by a fresh store. None when no store can be opened there at all.
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

    // Writes return whether they were stored; callers may ignore it. A write that fails for any reason but
    // another writer's lock is tried once more on a freshly opened file (see open()); a failed write leaves
    // the store as it was.
    bool set(std::string_view key, double value);
    bool set(std::string_view key, std::int64_t value);
    bool set(std::string_view key, int value) { return set(key, static_cast<std::int64_t>(value)); }
    bool set(std::string_view key, bool value);
    bool set(std::string_view key, std::string_view value);
    bool set(std::string_view key, const char *value) { return set(key, std::string_view(value)); }
    bool remove(std::string_view key);

    // Runs `body` as one immediate transaction: reads and writes inside it see no other writer, and
    // other readers see all of its writes or none. A failed write inside `body` rolls all of it back; unless
    // the failure was another writer's lock, the file is opened afresh and `body` runs once more, so it must
    // do its reads inside. Calls made from `body`, including a nested transaction(), join the same
    // transaction. An exception from `body` rolls back and propagates.
    Outcome transaction(const std::function<void(TovikSettingsStore &)> &body, Wait wait = Wait::patiently);
    // Runs `body` as one read transaction, so several reads see a single state of the store. Anything but
    // done means `body` did not run or some read in it failed, whatever that read returned.
    Outcome snapshot(const std::function<void(const TovikSettingsStore &)> &body, Wait wait = Wait::patiently) const;

private:
    enum Statement { select, upsert, erase, beginImmediate, beginDeferred, commit, rollback, statementCount };

    TovikSettingsStore(sqlite3 *db, std::filesystem::path path);
    bool write(std::string_view key, const Value *value); // null removes the key
    // The single attempts below return SQLite result codes.
    int writeOnce(std::string_view key, const Value *value);
    int readKey(std::string_view key, std::optional<Value> *value) const;
    Outcome transactionOnce(const std::function<void(TovikSettingsStore &)> &body);
    // Replaces the connection by one to whatever file now bears the store's name, as open() would.
    void reopen() const;
    // Readies the connection for an operation that is not part of a transaction.
    void attend(Wait wait) const;
    void applyWait(Wait wait) const;
    sqlite3_stmt *statement(Statement which) const;
    int step(Statement which) const;
    // Runs the body of a transaction already begun; one that throws is rolled back and rethrown.
    void runBegunTransaction(const std::function<void()> &body) const;
    int failureCode() const;
    void noteFailure(int code) const;

    mutable sqlite3 *m_db = nullptr;
    std::filesystem::path m_path;
    mutable std::recursive_mutex m_mutex;
    mutable sqlite3_stmt *m_statements[statementCount] = {};
    mutable int m_transactionDepth = 0;
    // The first failure inside the running transaction or snapshot, as an SQLite result code.
    mutable int m_transactionFailure = 0;
    mutable Wait m_wait = Wait::patiently;
};
