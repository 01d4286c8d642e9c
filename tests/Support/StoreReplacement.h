#pragma once

#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

// Runs `sql` on `file` in a connection of its own, as another program would.
inline void execute(const std::filesystem::path &file, const std::string &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close_v2(db);
}

// A way another process can replace a store's file under a connection that stays open.
struct StoreReplacement {
    const char *name;
    void (*replace)(const std::filesystem::path &file);
};

// The replacements every holder of an open store has to follow.
inline std::vector<StoreReplacement> storeReplacements()
{
    return {
        {"table replaced by another layout",
         [](const std::filesystem::path &file) {
             execute(file, "DROP TABLE settings; CREATE TABLE settings (id INTEGER PRIMARY KEY, name TEXT NOT NULL)");
         }},
        {"file set aside by another process, a fresh one in its place",
         [](const std::filesystem::path &file) {
             for (const char *suffix : {"", "-wal", "-shm"}) {
                 std::filesystem::rename(file.string() + suffix, file.string() + ".damaged-1" + suffix);
             }
             EXPECT_TRUE(TovikSettingsStore::open(file));
         }},
    };
}
