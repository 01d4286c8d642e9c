#pragma once

#include <filesystem>
#include <optional>
#include <sys/types.h>

struct sqlite3;

// The life of a settings store's file: its folders and modes, a file that is not a store of ours set aside,
// and the SQLite connection opened on it. The key-value store on top is TovikSettingsStore.
namespace TovikSettingsFile {

// Long enough to outlast another process's write burst; a write that still cannot get in is dropped.
inline constexpr int patientMilliseconds = 5000;

// Why a store's changes cannot reach its file just now.
enum class Trouble { diskFull, readOnly, notAFile, unavailable };

// An open store file. A file that cannot be written may still be read: then `readOnly` is set and `trouble`
// says why; without `db` nothing of the file can be read either.
struct Connection {
    sqlite3 *db = nullptr;
    bool readOnly = false;
    std::optional<Trouble> trouble;
    dev_t device = 0;
    ino_t inode = 0;
};

// Opens (creating if needed) the store at `file`: folders 0700, the file 0600. A file that is not a database,
// not a regular file, or a database that is not a store of ours (another table layout, or a newer layout
// version than this code knows), is renamed aside and replaced by a fresh store.
Connection open(const std::filesystem::path &file);
// Closes what open() returned and forgets it.
void close(Connection &connection);

// The reason behind a failed SQLite operation on `db`, from its result code and the system's error.
Trouble troubleOf(sqlite3 *db, int code);

} // namespace TovikSettingsFile
