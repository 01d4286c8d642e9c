#include "TovikSettingsFile.h"

#include <sqlite3.h>

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace TovikSettingsFile {

namespace {

// The layout of our files, kept in PRAGMA user_version; a newer one is another version's to change, not ours.
constexpr int layoutVersion = 1;

Trouble troubleOfErrno(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return Trouble::diskFull;
    case EROFS:
    case EACCES:
    case EPERM:
        return Trouble::readOnly;
    case ENOTDIR:
    case EISDIR:
    case EEXIST:
    case ELOOP:
        return Trouble::notAFile;
    default:
        return Trouble::unavailable;
    }
}

// The files this process holds connections to. Closing any descriptor of a file drops every POSIX lock the
// process holds on it, SQLite's included, so a file in this set is never opened outside SQLite.
std::mutex connectedMutex;
std::multiset<std::pair<dev_t, ino_t>> connected;

bool isConnected(const struct stat &info)
{
    const std::lock_guard lock(connectedMutex);
    return connected.count({info.st_dev, info.st_ino}) > 0;
}

// Creates `folder` and its missing parents, each 0700 whatever the umask. Existing folders are left as they
// are. On failure errno tells why.
bool makeFolders(const fs::path &folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (!S_ISDIR(info.st_mode)) {
            errno = ENOTDIR;
            return false;
        }
        return true;
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
// -shm companions) never creates it with its own wider default. On failure errno tells why.
bool prepareFile(const fs::path &file)
{
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NONBLOCK, 0600);
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
// opens it keeps SQLite from touching the file or its companions. A file this process has a connection to is
// not read here (SQLite tells damage itself there), since closing our descriptor would drop that connection's
// locks.
bool hasForeignHeader(const fs::path &file, const struct stat &info)
{
    if (isConnected(info)) {
        return false;
    }
    static constexpr char header[] = "SQLite format 3";
    char start[sizeof header] = {};
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
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

// The file as an SQLite URI that reads it without locks or journal, for a file whose folder cannot be written
// (so SQLite could not make its companions): what was stored stays readable.
std::string immutableUri(const fs::path &file)
{
    std::string uri = "file:";
    for (const unsigned char c : file.string()) {
        if (std::isalnum(c) || std::strchr("/-._~", c)) {
            uri += static_cast<char>(c);
        } else {
            static constexpr char digits[] = "0123456789ABCDEF";
            uri += '%';
            uri += digits[c >> 4];
            uri += digits[c & 0xf];
        }
    }
    return uri + "?immutable=1";
}

Opening connect(const fs::path &file, sqlite3 *&db, std::optional<Trouble> &trouble)
{
    db = nullptr;
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        trouble = troubleOfErrno(errno);
        return Opening::failed;
    }
    // A FIFO, a device or a folder would block or fail inside SQLite; it is set aside like damage.
    if (!S_ISREG(info.st_mode) || hasForeignHeader(file, info)) {
        return Opening::damaged;
    }
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        trouble = troubleOf(db, sqlite3_errcode(db));
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
    if (result == Opening::opened && sqlite3_db_readonly(db, "main") == 1) {
        trouble = Trouble::readOnly;
    }
    if (result != Opening::opened) {
        if (result == Opening::failed) {
            // SQLite opens a file it may not write read-only, and then fails on the journal it cannot make.
            trouble =
                sqlite3_db_readonly(db, "main") == 1 ? Trouble::readOnly : troubleOf(db, sqlite3_extended_errcode(db));
        }
        sqlite3_close_v2(db);
        db = nullptr;
        return result;
    }
    persistWal = 0;
    sqlite3_file_control(db, "main", SQLITE_FCNTL_PERSIST_WAL, &persistWal);
    return result;
}

// A read-only view of a store of ours that cannot be opened for writing; null when there is none to read.
sqlite3 *openForReading(const fs::path &file)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(immutableUri(file).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK
        && quickCheck(db) == Opening::opened) {
        Layout layout = Layout::foreign;
        if (readLayout(db, layout) == SQLITE_OK && (layout == Layout::ours || layout == Layout::unversioned)) {
            return db;
        }
    }
    sqlite3_close_v2(db);
    return nullptr;
}

Connection opened(sqlite3 *db, const fs::path &file, std::optional<Trouble> trouble)
{
    Connection connection;
    connection.db = db;
    connection.trouble = trouble;
    connection.readOnly = trouble.has_value();
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
        connection.device = info.st_dev;
        connection.inode = info.st_ino;
        const std::lock_guard lock(connectedMutex);
        connected.insert({info.st_dev, info.st_ino});
    }
    return connection;
}

} // namespace

Trouble troubleOf(sqlite3 *db, int code)
{
    switch (code & 0xff) {
    case SQLITE_FULL:
        return Trouble::diskFull;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Trouble::readOnly;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR: {
        const int error = db ? sqlite3_system_errno(db) : 0;
        return error ? troubleOfErrno(error) : Trouble::unavailable;
    }
    default:
        return Trouble::unavailable;
    }
}

Connection open(const fs::path &file)
{
    if (file.empty() || !file.has_filename()) {
        return {nullptr, false, Trouble::unavailable};
    }
    const fs::path folder = file.parent_path();
    if (!folder.empty() && !makeFolders(folder)) {
        return {nullptr, false, troubleOfErrno(errno)};
    }
    std::optional<Trouble> trouble;
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!prepareFile(file)) {
            trouble = troubleOfErrno(errno);
            break;
        }
        sqlite3 *db = nullptr;
        switch (connect(file, db, trouble)) {
        case Opening::opened:
            return opened(db, file, trouble);
        case Opening::damaged:
            if (attempt == 0 && setAside(file)) {
                continue;
            }
            // What cannot be moved out of the way cannot become a store either.
            return {nullptr, false, Trouble::notAFile};
        case Opening::failed:
            break;
        }
        break;
    }
    if (trouble == Trouble::readOnly) {
        if (sqlite3 *db = openForReading(file)) {
            return opened(db, file, trouble);
        }
    }
    return {nullptr, false, trouble.value_or(Trouble::unavailable)};
}

void close(Connection &connection)
{
    if (connection.db) {
        sqlite3_close_v2(connection.db);
        const std::lock_guard lock(connectedMutex);
        if (const auto found = connected.find({connection.device, connection.inode}); found != connected.end()) {
            connected.erase(found);
        }
    }
    connection = {};
}

} // namespace TovikSettingsFile
