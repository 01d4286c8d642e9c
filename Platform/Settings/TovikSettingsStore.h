#pragma once

#include "TovikSettingsFile.h"
#include "TovikSettingsStatements.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// A persistent key-value settings store in one SQLite file, safe to share between processes.
// Values keep their kind (integer, real, text), so a text stored where a number belongs is told apart.
// If another process sets the file aside, the next operation follows the name to the store that replaced it.
// While the file cannot be written (a full disk, a read-only folder, something that is not a file in its
// place) changes are held in memory, read back as if stored, and stored as soon as the file takes them.
class TovikSettingsStore : public std::enable_shared_from_this<TovikSettingsStore> {
public:
    using Value = TovikSettingsValue;
    // How long an operation waits for a lock another connection holds: patiently (seconds, off the user
    // interface's critical path) or briefly (a few milliseconds, for the user-interface thread).
    enum class Wait { patiently, briefly };
    // What a transaction or snapshot came to; busy means another connection held the lock past the wait.
    enum class Outcome { done, busy, failed };
    using Trouble = TovikSettingsFile::Trouble;
    // A store that holds changes in memory because its file cannot take them, and why.
    struct Problem {
        Trouble trouble;
        std::filesystem::path path;
    };
    // Told on the thread that met it when a store starts holding changes in memory, once until it stores again.
    using ProblemListener = std::function<void(const std::weak_ptr<TovikSettingsStore> &, const Problem &)>;

    // Opens (creating if needed) a connection to the store at `file`, as TovikSettingsFile::open() does. A file
    // that cannot be opened gives a store that holds its changes in memory; none only for a path that names no
    // file.
    static std::shared_ptr<TovikSettingsStore> open(const std::filesystem::path &file);
    // The application's standard store, $XDG_CONFIG_HOME/dayvane/settings.sqlite3.
    static std::shared_ptr<TovikSettingsStore> standard();
    // A named suite, $XDG_CONFIG_HOME/<name>/settings.sqlite3. Each is opened once per process: asking again
    // while it is held gives the same store.
    static std::shared_ptr<TovikSettingsStore> suite(const std::string &name);
    static void setProblemListener(ProblemListener listener);
    static std::filesystem::path configHome();

    ~TovikSettingsStore();
    TovikSettingsStore(const TovikSettingsStore &) = delete;
    TovikSettingsStore &operator=(const TovikSettingsStore &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    // Why changes are held in memory now; none while everything is stored.
    std::optional<Problem> problem() const;
    // Tries at once to store what is held in memory; true when nothing is held any more.
    bool flush();

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
    // another writer's lock is tried once more on a freshly opened file (see open()), then held in memory.
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
    // do its reads inside; when that fails too, `body` runs a last time on what is held in memory. Calls made from
    // `body`, including a nested transaction(), join the same transaction. An exception from `body` rolls back and
    // propagates.
    Outcome transaction(const std::function<void(TovikSettingsStore &)> &body, Wait wait = Wait::patiently);
    // Runs `body` as one read transaction, so several reads see a single state of the store. Anything but
    // done means `body` did not run or some read in it failed, whatever that read returned.
    Outcome snapshot(const std::function<void(const TovikSettingsStore &)> &body, Wait wait = Wait::patiently) const;

private:
    using Statement = TovikSettingsStatements::Statement;

    TovikSettingsStore(TovikSettingsFile::Connection connection, std::filesystem::path path);
    bool write(std::string_view key, const Value *value); // null removes the key
    // Whether writes go straight to the file: it is open for writing and nothing held waits before them.
    bool writesThrough() const;
    void hold(std::string_view key, const Value *value) const;
    Outcome holdTransaction(const std::function<void(TovikSettingsStore &)> &body);
    bool storeHeld() const;
    void noteProblem(Trouble trouble) const;
    Outcome transactionOnce(const std::function<void(TovikSettingsStore &)> &body);
    // Replaces the connection by one to whatever file now bears the store's name, as open() would.
    void reopen() const;
    // Readies the connection for an operation that is not part of a transaction.
    void attend(Wait wait) const;
    void applyWait(Wait wait) const;
    // Runs the body of a transaction already begun; one that throws is rolled back and rethrown.
    void runBegunTransaction(const std::function<void()> &body) const;
    void noteFailure(int code) const;

    mutable TovikSettingsFile::Connection m_connection;
    std::filesystem::path m_path;
    // Changes the file has not taken yet, a removal as none; they read as stored.
    mutable std::map<std::string, std::optional<Value>, std::less<>> m_held;
    mutable std::optional<Problem> m_problem;
    mutable bool m_problemTold = false;
    // Inside a transaction that runs on what is held in memory.
    mutable bool m_holding = false;
    mutable std::chrono::steady_clock::time_point m_nextRetry;
    mutable std::recursive_mutex m_mutex;
    mutable TovikSettingsStatements m_sql;
    mutable int m_transactionDepth = 0;
    // The first failure inside the running transaction or snapshot, as an SQLite result code.
    mutable int m_transactionFailure = 0;
    mutable Wait m_wait = Wait::patiently;
};
