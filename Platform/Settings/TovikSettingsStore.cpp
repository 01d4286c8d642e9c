#include "TovikSettingsStore.h"

#include <sqlite3.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Long enough to outlast another process's write burst; a write that still cannot get in is dropped.
constexpr int busyTimeoutMilliseconds = 5000;

// Creates `folder` and its missing parents, each 0700 whatever the umask. Existing folders are left as they are.
bool makeFolders(const fs::path &folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (errno != ENOENT) {
        return false;
    }
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && !makeFolders(parent)) {
        return false;
    }
    if (::mkdir(folder.c_str(), 0700) == 0) {
        return ::chmod(folder.c_str(), 0700) == 0;
    }
    return errno == EEXIST && ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates the store file 0600 whatever the umask, so SQLite (which copies the file's mode onto its -wal and
// -shm companions) never creates it with its own wider default.
bool prepareFile(const fs::path &file)
{
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return errno == EEXIST;
    }
    const bool narrowed = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return narrowed;
}

// Renames `from` to `to` without replacing anything already there; a taken name gets a counter.
std::optional<fs::path> renameWithoutReplacing(const fs::path &from, const fs::path &to)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path target = to;
        if (attempt > 0) {
            target += "." + std::to_string(attempt);
        }
        if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            return target;
        }
        if (errno == EINVAL) {
            // The file system cannot refuse to replace atomically; check first instead.
            std::error_code error;
            if (!fs::exists(target, error) && !error && ::rename(from.c_str(), target.c_str()) == 0) {
                return target;
            }
            if (error) {
                return std::nullopt;
            }
        } else if (errno != EEXIST) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Keeps a damaged store and its journal companions beside it as "<file>.damaged-<unix time>".
bool setAside(const fs::path &file)
{
    fs::path aside = file;
    aside += ".damaged-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    const std::optional<fs::path> kept = renameWithoutReplacing(file, aside);
    if (!kept) {
        return false;
    }
    for (const char *suffix : {"-wal", "-shm"}) {
        fs::path companion = file;
        companion += suffix;
        fs::path keptCompanion = *kept;
        keptCompanion += suffix;
        std::error_code error;
        if (fs::exists(companion, error)) {
            renameWithoutReplacing(companion, keptCompanion);
        }
    }
    return true;
}

bool isDamage(int code)
{
    const int primary = code & 0xff;
    return primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT;
}

enum class Opening { opened, damaged, failed };

Opening quickCheck(sqlite3 *db)
{
    sqlite3_stmt *check = nullptr;
    int code = sqlite3_prepare_v2(db, "PRAGMA quick_check(1)", -1, &check, nullptr);
    bool healthy = false;
    if (code == SQLITE_OK) {
        code = sqlite3_step(check);
        if (code == SQLITE_ROW) {
            const auto *answer = reinterpret_cast<const char *>(sqlite3_column_text(check, 0));
            healthy = answer && std::string_view(answer) == "ok";
            code = SQLITE_OK;
        }
    }
    sqlite3_finalize(check);
    if (code != SQLITE_OK) {
        return isDamage(code) ? Opening::damaged : Opening::failed;
    }
    return healthy ? Opening::opened : Opening::damaged;
}

// A file that is neither empty nor starts with SQLite's header is not a database; telling so before SQLite
// opens it keeps SQLite from touching the file or its companions.
bool hasForeignHeader(const fs::path &file)
{
    static constexpr char header[] = "SQLite format 3";
    char start[sizeof header] = {};
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const ssize_t count = ::read(fd, start, sizeof start);
    ::close(fd);
    return count > 0 && (count < static_cast<ssize_t>(sizeof start) || std::memcmp(start, header, sizeof start) != 0);
}

Opening connect(const fs::path &file, sqlite3 *&db)
{
    db = nullptr;
    if (hasForeignHeader(file)) {
        return Opening::damaged;
    }
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        db = nullptr;
        return Opening::failed;
    }
    sqlite3_busy_timeout(db, busyTimeoutMilliseconds);
    // Until the file proves sound, closing must not delete its -wal: a damaged store is kept whole.
    int persistWal = 1;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &persistWal);
    // The first statement that reads the file is where a file that is not a database shows itself.
    int code = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    Opening result = code == SQLITE_OK ? Opening::opened : isDamage(code) ? Opening::damaged : Opening::failed;
    if (result == Opening::opened) {
        result = quickCheck(db);
    }
    if (result == Opening::opened) {
        code = sqlite3_exec(db,
                            "PRAGMA synchronous=NORMAL;"
                            "CREATE TABLE IF NOT EXISTS settings (key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID",
                            nullptr, nullptr, nullptr);
        if (code != SQLITE_OK) {
            result = isDamage(code) ? Opening::damaged : Opening::failed;
        }
    }
    if (result != Opening::opened) {
        sqlite3_close_v2(db);
        db = nullptr;
        return result;
    }
    persistWal = 0;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &persistWal);
    return result;
}

bool isFolderName(const std::string &name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
           && name.find('\0') == std::string::npos;
}

const char *keyText(std::string_view key)
{
    return key.empty() ? "" : key.data();
}

} // namespace

TovikSettingsStore::TovikSettingsStore(sqlite3 *db, fs::path path)
    : m_db(db)
    , m_path(std::move(path))
{
}

TovikSettingsStore::~TovikSettingsStore()
{
    for (sqlite3_stmt *prepared : m_statements) {
        sqlite3_finalize(prepared);
    }
    sqlite3_close_v2(m_db);
}

std::shared_ptr<TovikSettingsStore> TovikSettingsStore::open(const fs::path &file)
{
    if (file.empty() || !file.has_filename()) {
        return nullptr;
    }
    const fs::path folder = file.parent_path();
    if (!folder.empty() && !makeFolders(folder)) {
        return nullptr;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!prepareFile(file)) {
            return nullptr;
        }
        sqlite3 *db = nullptr;
        switch (connect(file, db)) {
        case Opening::opened:
            return std::shared_ptr<TovikSettingsStore>(new TovikSettingsStore(db, file));
        case Opening::damaged:
            if (attempt == 0 && setAside(file)) {
                continue;
            }
            return nullptr;
        case Opening::failed:
            return nullptr;
        }
    }
    return nullptr;
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
    return open(home / name / "settings.sqlite3");
}

sqlite3_stmt *TovikSettingsStore::statement(Statement which) const
{
    static constexpr const char *sql[statementCount] = {
        "SELECT value FROM settings WHERE key = ?1",
        "INSERT OR REPLACE INTO settings (key, value) VALUES (?1, ?2)",
        "DELETE FROM settings WHERE key = ?1",
        "BEGIN IMMEDIATE",
        "BEGIN DEFERRED",
        "COMMIT",
        "ROLLBACK",
    };
    if (!m_statements[which]) {
        sqlite3_prepare_v3(m_db, sql[which], -1, SQLITE_PREPARE_PERSISTENT, &m_statements[which], nullptr);
    }
    return m_statements[which];
}

bool TovikSettingsStore::step(Statement which) const
{
    sqlite3_stmt *prepared = statement(which);
    if (!prepared) {
        return false;
    }
    const int code = sqlite3_step(prepared);
    sqlite3_reset(prepared);
    return code == SQLITE_DONE;
}

bool TovikSettingsStore::contains(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    sqlite3_stmt *select = statement(Statement::select);
    if (!select || key.size() > INT_MAX) {
        return false;
    }
    sqlite3_bind_text(select, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
    const bool found = sqlite3_step(select) == SQLITE_ROW;
    sqlite3_reset(select);
    sqlite3_clear_bindings(select);
    return found;
}

std::optional<TovikSettingsStore::Value> TovikSettingsStore::value(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    sqlite3_stmt *select = statement(Statement::select);
    if (!select || key.size() > INT_MAX) {
        return std::nullopt;
    }
    sqlite3_bind_text(select, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
    std::optional<Value> result;
    if (sqlite3_step(select) == SQLITE_ROW) {
        switch (sqlite3_column_type(select, 0)) {
        case SQLITE_INTEGER:
            result = static_cast<std::int64_t>(sqlite3_column_int64(select, 0));
            break;
        case SQLITE_FLOAT:
            result = sqlite3_column_double(select, 0);
            break;
        case SQLITE_TEXT: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(select, 0));
            result = std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(select, 0)));
            break;
        }
        default:
            break;
        }
    }
    sqlite3_reset(select);
    sqlite3_clear_bindings(select);
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

void TovikSettingsStore::set(std::string_view key, double value)
{
    const Value stored = Value(value);
    write(key, &stored);
}

void TovikSettingsStore::set(std::string_view key, std::int64_t value)
{
    const Value stored = Value(value);
    write(key, &stored);
}

void TovikSettingsStore::set(std::string_view key, bool value)
{
    const Value stored = Value(std::int64_t(value ? 1 : 0));
    write(key, &stored);
}

void TovikSettingsStore::set(std::string_view key, std::string_view value)
{
    const Value stored = Value(std::string(value));
    write(key, &stored);
}

void TovikSettingsStore::remove(std::string_view key)
{
    write(key, nullptr);
}

void TovikSettingsStore::write(std::string_view key, const Value *value)
{
    std::lock_guard lock(m_mutex);
    sqlite3_stmt *prepared = statement(value ? Statement::upsert : Statement::erase);
    bool written = prepared && key.size() <= INT_MAX;
    if (written) {
        sqlite3_bind_text(prepared, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
        if (value) {
            if (const auto *whole = std::get_if<std::int64_t>(value)) {
                sqlite3_bind_int64(prepared, 2, *whole);
            } else if (const auto *real = std::get_if<double>(value)) {
                sqlite3_bind_double(prepared, 2, *real);
            } else {
                const std::string &string = std::get<std::string>(*value);
                written = string.size() <= INT_MAX;
                sqlite3_bind_text(prepared, 2, string.c_str(), written ? static_cast<int>(string.size()) : 0,
                                  SQLITE_STATIC);
            }
        }
        written = written && sqlite3_step(prepared) == SQLITE_DONE;
        sqlite3_reset(prepared);
        sqlite3_clear_bindings(prepared);
    }
    if (!written && m_transactionDepth > 0) {
        m_transactionFailed = true;
    }
}

bool TovikSettingsStore::transaction(const std::function<void(TovikSettingsStore &)> &body)
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0) {
        body(*this);
        return !m_transactionFailed;
    }
    if (!step(Statement::beginImmediate)) {
        return false;
    }
    m_transactionDepth = 1;
    m_transactionFailed = false;
    try {
        body(*this);
    } catch (...) {
        m_transactionDepth = 0;
        step(Statement::rollback);
        throw;
    }
    m_transactionDepth = 0;
    if (m_transactionFailed || !step(Statement::commit)) {
        if (!sqlite3_get_autocommit(m_db)) {
            step(Statement::rollback);
        }
        return false;
    }
    return true;
}

void TovikSettingsStore::snapshot(const std::function<void(const TovikSettingsStore &)> &body) const
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0 || !step(Statement::beginDeferred)) {
        body(*this);
        return;
    }
    m_transactionDepth = 1;
    try {
        body(*this);
    } catch (...) {
        m_transactionDepth = 0;
        step(Statement::rollback);
        throw;
    }
    m_transactionDepth = 0;
    if (!step(Statement::commit) && !sqlite3_get_autocommit(m_db)) {
        step(Statement::rollback);
    }
}
