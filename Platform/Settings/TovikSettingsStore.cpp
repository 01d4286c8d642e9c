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
constexpr int patientMilliseconds = 5000;
// Enough for another process's ordinary write to end, too short for the user interface to stall.
constexpr int briefMilliseconds = 3;
// The layout of our files, kept in PRAGMA user_version; a newer one is another version's to change, not ours.
constexpr int layoutVersion = 1;

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

int queryInteger(sqlite3 *db, const char *sql, std::int64_t &result)
{
    sqlite3_stmt *query = nullptr;
    int code = sqlite3_prepare_v2(db, sql, -1, &query, nullptr);
    if (code == SQLITE_OK) {
        code = sqlite3_step(query);
        if (code == SQLITE_ROW) {
            result = sqlite3_column_int64(query, 0);
            code = SQLITE_OK;
        }
    }
    sqlite3_finalize(query);
    return code;
}

// Whether `settings` has exactly the columns this code creates: a text primary key and an untyped value,
// so that values keep their kind and each key is stored once.
int readSettingsColumns(sqlite3 *db, bool &ours)
{
    struct Column {
        std::string_view name;
        std::string_view type;
        int notNull;
        int primaryKey;
    };
    static constexpr Column expected[] = {{"key", "TEXT", 1, 1}, {"value", "", 0, 0}};
    sqlite3_stmt *query = nullptr;
    int code = sqlite3_prepare_v2(
        db, "SELECT name, type, \"notnull\", pk FROM pragma_table_info('settings') ORDER BY cid", -1, &query, nullptr);
    std::size_t count = 0;
    ours = true;
    while (code == SQLITE_OK && (code = sqlite3_step(query)) == SQLITE_ROW) {
        const auto text = [&](int column) {
            const auto *value = reinterpret_cast<const char *>(sqlite3_column_text(query, column));
            return std::string_view(value ? value : "");
        };
        ours = ours && count < std::size(expected) && text(0) == expected[count].name && text(1) == expected[count].type
               && sqlite3_column_int(query, 2) == expected[count].notNull
               && sqlite3_column_int(query, 3) == expected[count].primaryKey;
        ++count;
        code = SQLITE_OK;
    }
    sqlite3_finalize(query);
    ours = ours && count == std::size(expected);
    return code == SQLITE_DONE ? SQLITE_OK : code;
}

enum class Layout { ours, unversioned, empty, foreign };

// What the file holds: our table at our version, our table from before versions were kept, nothing yet, or
// somebody else's data. A read that fails returns its SQLite code.
int readLayout(sqlite3 *db, Layout &layout)
{
    std::int64_t version = 0;
    std::int64_t objects = 0;
    std::int64_t tables = 0;
    std::int64_t triggers = 0;
    bool columns = false;
    int code = queryInteger(db, "PRAGMA user_version", version);
    if (code == SQLITE_OK) {
        code = queryInteger(db, "SELECT count(*) FROM sqlite_schema", objects);
    }
    if (code == SQLITE_OK) {
        code =
            queryInteger(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name = 'settings'", tables);
    }
    if (code == SQLITE_OK) {
        code = queryInteger(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'trigger' AND tbl_name = 'settings'",
                            triggers);
    }
    if (code == SQLITE_OK && tables == 1) {
        code = readSettingsColumns(db, columns);
    }
    if (code != SQLITE_OK) {
        return code;
    }
    if (tables == 1 && triggers == 0 && columns && (version == 0 || version == layoutVersion)) {
        layout = version == layoutVersion ? Layout::ours : Layout::unversioned;
    } else {
        layout = version == 0 && objects == 0 ? Layout::empty : Layout::foreign;
    }
    return SQLITE_OK;
}

Opening openingAfter(int code)
{
    return code == SQLITE_OK ? Opening::opened : isDamage(code) ? Opening::damaged : Opening::failed;
}

// Gives a fresh file our table and version and adopts a store of ours written before versions were kept; a
// file holding anything else is left untouched and reported as not ours, to be set aside like damage.
Opening prepareLayout(sqlite3 *db)
{
    Layout layout = Layout::foreign;
    int code = readLayout(db, layout);
    if (code != SQLITE_OK || layout == Layout::foreign) {
        return code == SQLITE_OK ? Opening::damaged : openingAfter(code);
    }
    code = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    if (code != SQLITE_OK || layout == Layout::ours) {
        return openingAfter(code);
    }
    // Another process may be setting up the same file: decide again under the write lock.
    code = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (code == SQLITE_OK) {
        code = readLayout(db, layout);
    }
    if (code == SQLITE_OK && layout == Layout::empty) {
        code = sqlite3_exec(db, "CREATE TABLE settings (key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID", nullptr,
                            nullptr, nullptr);
    }
    if (code == SQLITE_OK && layout != Layout::ours && layout != Layout::foreign) {
        const std::string setVersion = "PRAGMA user_version = " + std::to_string(layoutVersion);
        code = sqlite3_exec(db, setVersion.c_str(), nullptr, nullptr, nullptr);
    }
    if (code == SQLITE_OK && layout != Layout::foreign) {
        code = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }
    if (!sqlite3_get_autocommit(db)) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    return code == SQLITE_OK && layout == Layout::foreign ? Opening::damaged : openingAfter(code);
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
    sqlite3_busy_timeout(db, patientMilliseconds);
    // Until the file proves sound and ours, closing must not delete its -wal: a file set aside is kept whole.
    int persistWal = 1;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &persistWal);
    // The first statement that reads the file is where a file that is not a database shows itself; nothing
    // writes to the file before its layout is known to be ours.
    Opening result = quickCheck(db);
    if (result == Opening::opened) {
        result = prepareLayout(db);
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

// The connection open() hands out: folders and file made as needed, a damaged or foreign file set aside once.
sqlite3 *openConnection(const fs::path &file)
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
            return db;
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

bool isFailure(int code)
{
    return code != SQLITE_OK && code != SQLITE_ROW && code != SQLITE_DONE;
}

TovikSettingsStore::Outcome outcomeOf(int code)
{
    if (!isFailure(code)) {
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
    sqlite3 *db = openConnection(file);
    return db ? std::shared_ptr<TovikSettingsStore>(new TovikSettingsStore(db, file)) : nullptr;
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
    if (!m_statements[which] && m_db) {
        sqlite3_prepare_v3(m_db, sql[which], -1, SQLITE_PREPARE_PERSISTENT, &m_statements[which], nullptr);
    }
    return m_statements[which];
}

int TovikSettingsStore::failureCode() const
{
    const int code = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN;
    return isFailure(code) ? code : SQLITE_ERROR;
}

int TovikSettingsStore::step(Statement which) const
{
    sqlite3_stmt *prepared = statement(which);
    if (!prepared) {
        return failureCode();
    }
    const int code = sqlite3_step(prepared);
    sqlite3_reset(prepared);
    return code;
}

void TovikSettingsStore::noteFailure(int code) const
{
    if (m_transactionDepth > 0 && m_transactionFailure == SQLITE_OK && isFailure(code)) {
        m_transactionFailure = code;
    }
}

void TovikSettingsStore::reopen() const
{
    for (sqlite3_stmt *&prepared : m_statements) {
        sqlite3_finalize(prepared);
        prepared = nullptr;
    }
    sqlite3_close_v2(m_db);
    m_db = openConnection(m_path);
    m_wait = Wait::patiently;
}

void TovikSettingsStore::attend(Wait wait) const
{
    // Another process may have set the file aside (and put a fresh store in its place): writes to the old
    // file would be lost to everyone else, so follow the name. A store that could not be opened again is
    // tried anew.
    int moved = 0;
    if (!m_db || (sqlite3_file_control(m_db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved)) {
        reopen();
    }
    applyWait(wait);
}

void TovikSettingsStore::applyWait(Wait wait) const
{
    if (m_db && wait != m_wait) {
        sqlite3_busy_timeout(m_db, wait == Wait::briefly ? briefMilliseconds : patientMilliseconds);
        m_wait = wait;
    }
}

int TovikSettingsStore::readKey(std::string_view key, std::optional<Value> *value) const
{
    sqlite3_stmt *select = statement(Statement::select);
    if (!select) {
        return failureCode();
    }
    if (key.size() > INT_MAX) {
        return SQLITE_TOOBIG;
    }
    sqlite3_bind_text(select, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
    const int code = sqlite3_step(select);
    if (code == SQLITE_ROW && value) {
        switch (sqlite3_column_type(select, 0)) {
        case SQLITE_INTEGER:
            *value = static_cast<std::int64_t>(sqlite3_column_int64(select, 0));
            break;
        case SQLITE_FLOAT:
            *value = sqlite3_column_double(select, 0);
            break;
        case SQLITE_TEXT: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(select, 0));
            *value = std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(select, 0)));
            break;
        }
        default:
            break;
        }
    }
    sqlite3_reset(select);
    sqlite3_clear_bindings(select);
    return code;
}

bool TovikSettingsStore::contains(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth == 0) {
        attend(Wait::patiently);
    }
    const int code = readKey(key, nullptr);
    noteFailure(code);
    return code == SQLITE_ROW;
}

std::optional<TovikSettingsStore::Value> TovikSettingsStore::value(std::string_view key) const
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth == 0) {
        attend(Wait::patiently);
    }
    std::optional<Value> result;
    noteFailure(readKey(key, &result));
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

int TovikSettingsStore::writeOnce(std::string_view key, const Value *value)
{
    sqlite3_stmt *prepared = statement(value ? Statement::upsert : Statement::erase);
    if (!prepared) {
        return failureCode();
    }
    const std::string *string = value ? std::get_if<std::string>(value) : nullptr;
    if (key.size() > INT_MAX || (string && string->size() > INT_MAX)) {
        return SQLITE_TOOBIG;
    }
    sqlite3_bind_text(prepared, 1, keyText(key), static_cast<int>(key.size()), SQLITE_STATIC);
    if (const auto *whole = value ? std::get_if<std::int64_t>(value) : nullptr) {
        sqlite3_bind_int64(prepared, 2, *whole);
    } else if (const auto *real = value ? std::get_if<double>(value) : nullptr) {
        sqlite3_bind_double(prepared, 2, *real);
    } else if (string) {
        sqlite3_bind_text(prepared, 2, string->c_str(), static_cast<int>(string->size()), SQLITE_STATIC);
    }
    const int code = sqlite3_step(prepared);
    sqlite3_reset(prepared);
    sqlite3_clear_bindings(prepared);
    return code;
}

bool TovikSettingsStore::write(std::string_view key, const Value *value)
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0) {
        const int code = writeOnce(key, value);
        noteFailure(code);
        return code == SQLITE_DONE;
    }
    attend(Wait::patiently);
    int code = writeOnce(key, value);
    if (outcomeOf(code) == Outcome::failed) {
        reopen();
        code = writeOnce(key, value);
    }
    return code == SQLITE_DONE;
}

TovikSettingsStore::Outcome TovikSettingsStore::transaction(const std::function<void(TovikSettingsStore &)> &body,
                                                            Wait wait)
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0) {
        body(*this);
        return outcomeOf(m_transactionFailure);
    }
    attend(wait);
    Outcome outcome = transactionOnce(body);
    if (outcome == Outcome::failed) {
        reopen();
        applyWait(wait);
        outcome = transactionOnce(body);
    }
    return outcome;
}

void TovikSettingsStore::runBegunTransaction(const std::function<void()> &body) const
{
    m_transactionDepth = 1;
    m_transactionFailure = SQLITE_OK;
    try {
        body();
    } catch (...) {
        m_transactionDepth = 0;
        step(Statement::rollback);
        throw;
    }
}

TovikSettingsStore::Outcome TovikSettingsStore::transactionOnce(const std::function<void(TovikSettingsStore &)> &body)
{
    const int begun = step(Statement::beginImmediate);
    if (begun != SQLITE_DONE) {
        return outcomeOf(begun);
    }
    runBegunTransaction([&] { body(*this); });
    if (m_transactionFailure == SQLITE_OK) {
        noteFailure(step(Statement::commit));
    }
    m_transactionDepth = 0;
    if (m_db && !sqlite3_get_autocommit(m_db)) {
        step(Statement::rollback);
    }
    return outcomeOf(m_transactionFailure);
}

TovikSettingsStore::Outcome TovikSettingsStore::snapshot(const std::function<void(const TovikSettingsStore &)> &body,
                                                         Wait wait) const
{
    std::lock_guard lock(m_mutex);
    if (m_transactionDepth > 0) {
        body(*this);
        return outcomeOf(m_transactionFailure);
    }
    attend(wait);
    const int begun = step(Statement::beginDeferred);
    if (begun != SQLITE_DONE) {
        return outcomeOf(begun);
    }
    runBegunTransaction([&] { body(*this); });
    m_transactionDepth = 0;
    if (step(Statement::commit) != SQLITE_DONE && m_db && !sqlite3_get_autocommit(m_db)) {
        step(Statement::rollback);
    }
    return outcomeOf(m_transactionFailure);
}
