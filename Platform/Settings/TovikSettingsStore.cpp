#include "TovikSettingsStore.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Enough for another process's ordinary write to end, too short for the user interface to stall.
constexpr int briefMilliseconds = 3;
// How often a store holding changes in memory tries its file again when an operation comes by.
constexpr auto retryInterval = std::chrono::seconds(1);

std::mutex problemListenerMutex;
TovikSettingsStore::ProblemListener problemListener;

TovikSettingsStore::Outcome outcomeOf(int code)
{
    if (!TovikSettingsStatements::isFailure(code)) {
        return TovikSettingsStore::Outcome::done;
    }
    const int primary = code & 0xff;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? TovikSettingsStore::Outcome::busy
                                                              : TovikSettingsStore::Outcome::failed;
}

bool isFolderName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
           && name.find('\0') == std::string::npos;
}

} // namespace

TovikSettingsStore::TovikSettingsStore(TovikSettingsFile::Connection connection, fs::path path)
    : m_connection(connection)
    , m_path(std::move(path))
{
    m_sql.attach(m_connection.db);
}

TovikSettingsStore::~TovikSettingsStore()
{
    m_sql.attach(nullptr);
    TovikSettingsFile::close(m_connection);
}

std::shared_ptr<TovikSettingsStore> TovikSettingsStore::open(const fs::path &file)
{
    if (file.empty() || !file.has_filename()) {
        return nullptr;
    }
    const TovikSettingsFile::Connection connection = TovikSettingsFile::open(file);
    std::shared_ptr<TovikSettingsStore> store(new TovikSettingsStore(connection, file));
    if (connection.trouble) {
        store->m_nextRetry = std::chrono::steady_clock::now() + retryInterval;
        store->noteProblem(*connection.trouble);
    }
    return store;
}

void TovikSettingsStore::setProblemListener(ProblemListener listener)
{
    const std::lock_guard lock(problemListenerMutex);
    problemListener = std::move(listener);
}

std::optional<TovikSettingsStore::Problem> TovikSettingsStore::problem() const
{
    std::lock_guard lock(m_mutex);
    return m_problem;
}

void TovikSettingsStore::noteProblem(Trouble trouble) const
{
    m_problem = Problem{trouble, m_path};
    if (m_problemTold) {
        return;
    }
    m_problemTold = true;
    ProblemListener listener;
    {
        const std::lock_guard lock(problemListenerMutex);
        listener = problemListener;
    }
    if (listener) {
        // A store made by open() is always owned by a shared pointer; one being destroyed tells nobody.
        listener(std::const_pointer_cast<TovikSettingsStore>(weak_from_this().lock()), *m_problem);
    }
}

fs::path TovikSettingsStore::configHome()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base directory rules ask.
    if (const char *configured = std::getenv("XDG_CONFIG_HOME"); configured && configured[0] == '/') {
        return configured;
    }
    const char *home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd *user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : nullptr;
    }
    if (!home || home[0] != '/') {
        return {};
    }
    return fs::path(home) / ".config";
}

std::shared_ptr<TovikSettingsStore> TovikSettingsStore::standard()
{
    return suite("dayvane");
}

std::shared_ptr<TovikSettingsStore> TovikSettingsStore::suite(const std::string &name)
{
    const fs::path home = configHome();
    if (home.empty() || !isFolderName(name)) {
        return nullptr;
    }
    const fs::path file = home / name / "settings.sqlite3";
    // A second connection would be a second set of locks on the same file, and closing one descriptor of a
    // file drops all the process's locks on it; so the process shares one store per file.
    static std::mutex openedMutex;
    static std::map<fs::path, std::weak_ptr<TovikSettingsStore>> opened;
    const std::lock_guard lock(openedMutex);
    std::shared_ptr<TovikSettingsStore> store = opened[file].lock();
    if (!store) {
        store = open(file);
        opened[file] = store;
    }
    return store;
}

void TovikSettingsStore::noteFailure(int code) const
{
    if (m_transactionDepth > 0 && m_transactionFailure == SQLITE_OK && TovikSettingsStatements::isFailure(code)) {
        m_transactionFailure = code;
    }
}

void TovikSettingsStore::reopen() const
{
    m_sql.attach(nullptr);
    TovikSettingsFile::close(m_connection);
    m_connection = TovikSettingsFile::open(m_path);
    m_sql.attach(m_connection.db);
    m_wait = Wait::patiently;
    if (m_connection.trouble) {
        noteProblem(*m_connection.trouble);
    }
}

void TovikSettingsStore::attend(Wait wait) const
{
    // Another process may have set the file aside (and put a fresh store in its place): writes to the old
    // file would be lost to everyone else, so follow the name.
    int moved = 0;
    if (m_connection.db && !m_connection.readOnly
        && sqlite3_file_control(m_connection.db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved) {
        reopen();
    }
    // A store that could not take its changes tries again now and then, so that what it holds is stored as
    // soon as the disk has room or the folder may be written again.
    if (!writesThrough() && std::chrono::steady_clock::now() >= m_nextRetry) {
        m_nextRetry = std::chrono::steady_clock::now() + retryInterval;
        if (!m_connection.db || m_connection.readOnly) {
            reopen();
        }
        storeHeld();
    }
    applyWait(wait);
}

bool TovikSettingsStore::writesThrough() const
{
    return m_connection.db && !m_connection.readOnly && m_held.empty();
}

void TovikSettingsStore::hold(std::string_view key, const Value *value) const
{
    std::optional<Value> &held = m_held[std::string(key)];
    held = value ? std::optional<Value>(*value) : std::nullopt;
}

bool TovikSettingsStore::storeHeld() const
{
    if (!m_connection.db || m_connection.readOnly) {
        return false;
    }
    if (!m_held.empty()) {
        int code = m_sql.step(Statement::beginImmediate);
        for (auto entry = m_held.begin(); code == SQLITE_DONE && entry != m_held.end(); ++entry) {
            const Value *value = entry->second ? &*entry->second : nullptr;
            code = m_sql.write(entry->first, value);
        }
        if (code == SQLITE_DONE) {
            code = m_sql.step(Statement::commit);
        }
        if (!sqlite3_get_autocommit(m_connection.db)) {
            m_sql.step(Statement::rollback);
        }
        if (code != SQLITE_DONE) {
            if (outcomeOf(code) == Outcome::failed) {
                noteProblem(TovikSettingsFile::troubleOf(m_connection.db, code));
            }
            return false;
        }
        m_held.clear();
    }
    m_problem.reset();
    m_problemTold = false;
    return true;
}

bool TovikSettingsStore::flush()
{
    std::lock_guard lock(m_mutex);
    if (writesThrough()) {
        return true;
    }
    if (!m_connection.db || m_connection.readOnly) {
        reopen();
    }
    applyWait(Wait::patiently);
    return storeHeld();
}

void TovikSettingsStore::applyWait(Wait wait) const
{
    if (m_connection.db && wait != m_wait) {
        sqlite3_busy_timeout(m_connection.db,
                             wait == Wait::briefly ? briefMilliseconds : TovikSettingsFile::patientMilliseconds);
        m_wait = wait;
    }
}

bool TovikSettingsStore::contains(std::string_view key) const
{
    return value(key).has_value();
}

std::optional<TovikSettingsStore::Value> TovikSettingsStore::value(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth == 0) {
        attend(Wait::patiently);
    }
    if (const auto held = m_held.find(key); held != m_held.end()) {
        return held->second;
    }
    std::optional<Value> result;
    if (m_connection.db) {
        const int code = m_sql.read(key, &result);
        if (!m_holding) {
            noteFailure(code);
        }
    }
    return result;
}

std::optional<double> TovikSettingsStore::number(std::string_view key) const
{
    const std::optional<Value> stored = value(key);
    if (const auto *whole = stored ? std::get_if<std::int64_t>(&*stored) : nullptr) {
        return static_cast<double>(*whole);
    }
    if (const auto *real = stored ? std::get_if<double>(&*stored) : nullptr) {
        return *real;
    }
    return std::nullopt;
}

std::optional<std::int64_t> TovikSettingsStore::integer(std::string_view key) const
{
    const std::optional<Value> stored = value(key);
    if (const auto *whole = stored ? std::get_if<std::int64_t>(&*stored) : nullptr) {
        return *whole;
    }
    // A real with no fraction that fits is the same number; anything else is not an integer.
    if (const auto *real = stored ? std::get_if<double>(&*stored) : nullptr) {
        if (std::trunc(*real) == *real && *real >= -9223372036854775808.0 && *real < 9223372036854775808.0) {
            return static_cast<std::int64_t>(*real);
        }
    }
    return std::nullopt;
}

std::optional<bool> TovikSettingsStore::boolean(std::string_view key) const
{
    const std::optional<Value> stored = value(key);
    if (const auto *whole = stored ? std::get_if<std::int64_t>(&*stored) : nullptr) {
        return *whole != 0;
    }
    return std::nullopt;
}

std::optional<std::string> TovikSettingsStore::text(std::string_view key) const
{
    std::optional<Value> stored = value(key);
    if (auto *string = stored ? std::get_if<std::string>(&*stored) : nullptr) {
        return std::move(*string);
    }
    return std::nullopt;
}

bool TovikSettingsStore::set(std::string_view key, double value)
{
    const Value stored = Value(value);
    return write(key, &stored);
}

bool TovikSettingsStore::set(std::string_view key, std::int64_t value)
{
    const Value stored = Value(value);
    return write(key, &stored);
}

bool TovikSettingsStore::set(std::string_view key, bool value)
{
    const Value stored = Value(std::int64_t(value ? 1 : 0));
    return write(key, &stored);
}

bool TovikSettingsStore::set(std::string_view key, std::string_view value)
{
    const Value stored = Value(std::string(value));
    return write(key, &stored);
}

bool TovikSettingsStore::remove(std::string_view key)
{
    return write(key, nullptr);
}

bool TovikSettingsStore::write(std::string_view key, const Value *value)
{
    std::lock_guard lock(m_mutex);
    if (m_holding) {
        hold(key, value);
        return false;
    }
    if (m_transactionDepth > 0) {
        const int code = m_sql.write(key, value);
        noteFailure(code);
        return code == SQLITE_DONE;
    }
    attend(Wait::patiently);
    int code = SQLITE_CANTOPEN;
    if (writesThrough()) {
        code = m_sql.write(key, value);
        if (outcomeOf(code) == Outcome::failed) {
            reopen();
            code = writesThrough() ? m_sql.write(key, value) : SQLITE_CANTOPEN;
        }
    }
    if (outcomeOf(code) == Outcome::failed) {
        // Changes held earlier go first, so this one waits behind them in memory too.
        hold(key, value);
        noteProblem(m_connection.trouble.value_or(TovikSettingsFile::troubleOf(m_connection.db, code)));
    }
    return code == SQLITE_DONE;
}

TovikSettingsStore::Outcome TovikSettingsStore::transaction(const std::function<void(TovikSettingsStore &)> &body,
                                                            Wait wait)
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0) {
        body(*this);
        return m_holding ? Outcome::done : outcomeOf(m_transactionFailure);
    }
    attend(wait);
    if (!writesThrough()) {
        return holdTransaction(body);
    }
    Outcome outcome = transactionOnce(body);
    if (outcome == Outcome::failed) {
        reopen();
        applyWait(wait);
        outcome = writesThrough() ? transactionOnce(body) : Outcome::failed;
    }
    if (outcome == Outcome::failed) {
        noteProblem(m_connection.trouble.value_or(TovikSettingsFile::troubleOf(m_connection.db, m_transactionFailure)));
        return holdTransaction(body);
    }
    return outcome;
}

TovikSettingsStore::Outcome TovikSettingsStore::holdTransaction(const std::function<void(TovikSettingsStore &)> &body)
{
    // The body reads what is held over what the file holds and writes into memory; a throw leaves both as
    // they were.
    const auto before = m_held;
    m_transactionDepth = 1;
    m_holding = true;
    try {
        body(*this);
    } catch (...) {
        m_held = before;
        m_transactionDepth = 0;
        m_holding = false;
        throw;
    }
    m_transactionDepth = 0;
    m_holding = false;
    if (!m_held.empty() && !m_problem) {
        noteProblem(m_connection.trouble.value_or(TovikSettingsFile::Trouble::unavailable));
    }
    return Outcome::done;
}

void TovikSettingsStore::runBegunTransaction(const std::function<void()> &body) const
{
    m_transactionDepth = 1;
    m_transactionFailure = SQLITE_OK;
    try {
        body();
    } catch (...) {
        m_transactionDepth = 0;
        m_sql.step(Statement::rollback);
        throw;
    }
}

TovikSettingsStore::Outcome TovikSettingsStore::transactionOnce(const std::function<void(TovikSettingsStore &)> &body)
{
    const int begun = m_sql.step(Statement::beginImmediate);
    if (begun != SQLITE_DONE) {
        return outcomeOf(begun);
    }
    runBegunTransaction([&] { body(*this); });
    if (m_transactionFailure == SQLITE_OK) {
        noteFailure(m_sql.step(Statement::commit));
    }
    m_transactionDepth = 0;
    if (m_connection.db && !sqlite3_get_autocommit(m_connection.db)) {
        m_sql.step(Statement::rollback);
    }
    return outcomeOf(m_transactionFailure);
}

TovikSettingsStore::Outcome TovikSettingsStore::snapshot(const std::function<void(const TovikSettingsStore &)> &body,
                                                         Wait wait) const
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0) {
        body(*this);
        return m_holding ? Outcome::done : outcomeOf(m_transactionFailure);
    }
    attend(wait);
    if (!m_connection.db) {
        // Nothing of the file can be read: what is held in memory is all there is.
        m_transactionDepth = 1;
        m_holding = true;
        try {
            body(*this);
        } catch (...) {
            m_transactionDepth = 0;
            m_holding = false;
            throw;
        }
        m_transactionDepth = 0;
        m_holding = false;
        return Outcome::done;
    }
    const int begun = m_sql.step(Statement::beginDeferred);
    if (begun != SQLITE_DONE) {
        return outcomeOf(begun);
    }
    runBegunTransaction([&] { body(*this); });
    m_transactionDepth = 0;
    if (m_sql.step(Statement::commit) != SQLITE_DONE && m_connection.db && !sqlite3_get_autocommit(m_connection.db)) {
        m_sql.step(Statement::rollback);
    }
    return outcomeOf(m_transactionFailure);
}
