#include "ScratchMount.h"
#include "StoreReplacement.h"
#include "TemporaryFolder.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using Value = TovikSettingsStore::Value;

namespace {

std::string readFile(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path &file, const std::string &bytes)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

unsigned modeOf(const fs::path &path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

std::vector<fs::path> setAsideFiles(const fs::path &folder)
{
    std::vector<fs::path> found;
    for (const auto &entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".damaged-") != std::string::npos) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char *name, const char *value)
        : m_name(name)
    {
        if (const char *old = std::getenv(name)) {
            m_old = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

const std::string garbage = "these bytes are not a database\n";

// The first column of every row `sql` answers on `file`, read only, joined by "|".
std::string query(const fs::path &file, const std::string &sql)
{
    sqlite3 *db = nullptr;
    std::string answer;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, sql.c_str(),
            [](void *out, int, char **values, char **) {
                auto &text = *static_cast<std::string *>(out);
                text += (text.empty() ? "" : "|") + std::string(values[0] ? values[0] : "NULL");
                return 0;
            },
            &answer, nullptr);
    }
    sqlite3_close_v2(db);
    return answer;
}

const std::string schemaQuery = "SELECT sql FROM sqlite_schema ORDER BY name";
const std::string ourTable = "CREATE TABLE settings (key TEXT PRIMARY KEY NOT NULL, value) WITHOUT ROWID";

} // namespace

TEST(TovikSettingsStore, EveryValueKindRoundTripsThroughTheFile)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    const std::vector<std::pair<std::string, Value>> cases = {
        {"real", 3725.9},
        {"negative zero", -0.0},
        {"infinity", std::numeric_limits<double>::infinity()},
        {"tiny", std::numeric_limits<double>::denorm_min()},
        {"integer", std::int64_t(-42)},
        {"large integer", std::numeric_limits<std::int64_t>::max()},
        {"text", std::string("丙午年正月初一")},
        {"empty text", std::string()},
        {"text with nul", std::string("a\0b", 3)},
        {"", std::string("empty key")},
    };
    {
        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        for (const auto &[key, value] : cases) {
            std::visit([&, &key = key](const auto &v) { store->set(key, v); }, value);
        }
        store->set("flag", true);
        store->set("other flag", false);
    }
    auto reopened = TovikSettingsStore::open(file);
    ASSERT_TRUE(reopened);
    for (const auto &[key, value] : cases) {
        SCOPED_TRACE(key);
        EXPECT_EQ(reopened->value(key), value);
    }
    EXPECT_TRUE(std::signbit(*reopened->number("negative zero")));
    EXPECT_EQ(reopened->boolean("flag"), true);
    EXPECT_EQ(reopened->boolean("other flag"), false);
    EXPECT_EQ(reopened->value("flag"), Value(std::int64_t(1)));
}

TEST(TovikSettingsStore, PresenceTellsAbsentFromStoredZero)
{
    TemporaryFolder folder;
    auto store = TovikSettingsStore::open(folder / "settings.sqlite3");
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->contains("k"));
    EXPECT_EQ(store->number("k"), std::nullopt);
    store->set("k", 0.0);
    EXPECT_TRUE(store->contains("k"));
    EXPECT_EQ(store->number("k"), 0.0);
    store->set("k", "replaced by text");
    EXPECT_EQ(store->text("k"), "replaced by text");
    store->remove("k");
    EXPECT_FALSE(store->contains("k"));
    store->remove("never stored");
    EXPECT_FALSE(store->contains("never stored"));
}

TEST(TovikSettingsStore, ValueOfAnotherKindReadsAsNone)
{
    TemporaryFolder folder;
    auto store = TovikSettingsStore::open(folder / "settings.sqlite3");
    ASSERT_TRUE(store);
    store->set("text five", "5");
    store->set("real", 2.5);
    store->set("whole real", 3.0);
    store->set("integer", 7);
    store->set("huge real", 1e300);

    struct Expected {
        const char *key;
        std::optional<double> number;
        std::optional<std::int64_t> integer;
        std::optional<bool> boolean;
        std::optional<std::string> text;
    };
    const Expected table[] = {
        {"text five", std::nullopt, std::nullopt, std::nullopt, "5"},
        {"real", 2.5, std::nullopt, std::nullopt, std::nullopt},
        {"whole real", 3.0, 3, std::nullopt, std::nullopt},
        {"integer", 7.0, 7, true, std::nullopt},
        {"huge real", 1e300, std::nullopt, std::nullopt, std::nullopt},
        {"absent", std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const Expected &row : table) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(store->number(row.key), row.number);
        EXPECT_EQ(store->integer(row.key), row.integer);
        EXPECT_EQ(store->boolean(row.key), row.boolean);
        EXPECT_EQ(store->text(row.key), row.text);
    }
}

TEST(TovikSettingsStore, DamagedFileIsKeptAsideAndAFreshStoreTakesItsPlace)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        writeFile(file, garbage + std::to_string(round));
        writeFile(fs::path(file.string() + "-wal"), "stale journal " + std::to_string(round));
        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        EXPECT_FALSE(store->contains("anything"));
        store->set("after", 1);
        EXPECT_EQ(store->integer("after"), 1);
    }
    // Two damaged files set aside within one second keep both copies: nothing is overwritten.
    std::vector<fs::path> aside = setAsideFiles(folder.path());
    std::vector<std::string> contents;
    for (const fs::path &kept : aside) {
        contents.push_back(readFile(kept));
    }
    std::sort(contents.begin(), contents.end());
    EXPECT_EQ(contents, (std::vector<std::string>{"stale journal 0", "stale journal 1", garbage + "0", garbage + "1"}));
    EXPECT_EQ(aside.size(), 4u);
    const std::string name = aside.front().filename().string();
    EXPECT_EQ(name.rfind("settings.sqlite3.damaged-", 0), 0u) << name;
}

TEST(TovikSettingsStore, DatabaseWithDamagedPagesIsKeptAside)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    {
        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        for (int i = 0; i < 400; ++i) {
            store->set("key " + std::to_string(i), std::string(100, 'v'));
        }
    }
    std::string bytes = readFile(file);
    ASSERT_GT(bytes.size(), 3 * 4096u);
    for (std::size_t i = 4096; i < 3 * 4096; ++i) {
        bytes[i] = static_cast<char>(i * 7);
    }
    writeFile(file, bytes);

    auto store = TovikSettingsStore::open(file);
    ASSERT_TRUE(store);
    EXPECT_FALSE(store->contains("key 1"));
    std::vector<fs::path> aside = setAsideFiles(folder.path());
    std::erase_if(
        aside, [](const fs::path &kept) { return kept.string().ends_with("-wal") || kept.string().ends_with("-shm"); });
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(readFile(aside.front()), bytes);
}

TEST(TovikSettingsStore, DatabaseThatIsNotOursIsKeptAsideAndAFreshStoreTakesItsPlace)
{
    const std::pair<const char *, std::string> cases[] = {
        {"settings with other columns",
         "CREATE TABLE settings (id INTEGER PRIMARY KEY, name TEXT NOT NULL, data BLOB)"},
        {"settings with a required extra column",
         "CREATE TABLE settings (key TEXT PRIMARY KEY NOT NULL, value, owner TEXT NOT NULL)"},
        {"keys that may repeat", "CREATE TABLE settings (key TEXT, value)"},
        {"values of one type", "CREATE TABLE settings (key TEXT PRIMARY KEY NOT NULL, value REAL)"},
        {"settings is a view", "CREATE TABLE pairs (key TEXT, value); CREATE VIEW settings AS SELECT * FROM pairs"},
        {"a trigger on settings", ourTable
                                      + "; CREATE TRIGGER guard BEFORE INSERT ON settings BEGIN SELECT "
                                        "RAISE(ABORT, 'read only'); END"},
        {"another program's tables", "CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)"},
        {"our table from a newer version", ourTable + "; PRAGMA user_version = 2"},
        {"no table but a version", "PRAGMA user_version = 1; CREATE TABLE other (x)"},
    };
    for (const auto &[name, sql] : cases) {
        SCOPED_TRACE(name);
        TemporaryFolder folder;
        const fs::path file = folder / "settings.sqlite3";
        // Kept in WAL with the last writes still in the -wal, as a live program leaves it.
        execute(file,
                "PRAGMA journal_mode=WAL; " + sql + "; CREATE TABLE kept (x); INSERT INTO kept VALUES ('theirs')");
        const std::string schema = query(file, schemaQuery);

        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        EXPECT_TRUE(store->set("k", 1));
        EXPECT_EQ(TovikSettingsStore::open(file)->integer("k"), 1);
        EXPECT_EQ(query(file, "PRAGMA user_version"), "1");

        std::vector<fs::path> aside = setAsideFiles(folder.path());
        std::erase_if(aside, [](const fs::path &kept) { return kept.string().ends_with("-shm"); });
        ASSERT_EQ(aside.size(), 2u);
        EXPECT_EQ(aside[1].string(), aside[0].string() + "-wal");
        EXPECT_EQ(query(aside[0], schemaQuery), schema);
        EXPECT_EQ(query(aside[0], "SELECT x FROM kept"), "theirs");
    }
}

TEST(TovikSettingsStore, StoreWrittenBeforeLayoutVersionsIsAdoptedWithItsData)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    execute(file, "PRAGMA journal_mode=WAL; " + ourTable + "; INSERT INTO settings VALUES ('dayvane.selectedTab', 2)");
    ASSERT_EQ(query(file, "PRAGMA user_version"), "0");
    {
        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        EXPECT_EQ(store->integer("dayvane.selectedTab"), 2);
        EXPECT_TRUE(store->set("k", 1));
    }
    EXPECT_EQ(query(file, "PRAGMA user_version"), "1");
    EXPECT_EQ(query(file, schemaQuery), ourTable);
    EXPECT_TRUE(setAsideFiles(folder.path()).empty());

    // A fresh store is created at the version, and a store at the version opens as it is.
    const fs::path fresh = folder / "fresh.sqlite3";
    ASSERT_TRUE(TovikSettingsStore::open(fresh));
    EXPECT_EQ(query(fresh, "PRAGMA user_version"), "1");
    EXPECT_EQ(TovikSettingsStore::open(file)->integer("k"), 1);
    EXPECT_TRUE(setAsideFiles(folder.path()).empty());
}

TEST(TovikSettingsStore, ApplicationStoreAndSuiteOfAnotherLayoutAreReplaced)
{
    TemporaryFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.path().c_str());
    for (const char *name : {"dayvane", "K9PZQW41RT.local.tovik.dayvane"}) {
        SCOPED_TRACE(name);
        fs::create_directory(folder / name);
        execute(folder / name / "settings.sqlite3",
                "CREATE TABLE settings (id INTEGER PRIMARY KEY, name TEXT NOT NULL)");
        auto store = std::string(name) == "dayvane" ? TovikSettingsStore::standard() : TovikSettingsStore::suite(name);
        ASSERT_TRUE(store);
        EXPECT_TRUE(store->set("dayvane.stopwatch.startedAt", 1000.0));
        EXPECT_EQ(store->number("dayvane.stopwatch.startedAt"), 1000.0);
        EXPECT_EQ(setAsideFiles(folder / name).size(), 1u);
    }
}

TEST(TovikSettingsStore, WriteFollowsAStoreReplacedUnderneath)
{
    std::vector<StoreReplacement> cases = storeReplacements();
    cases.push_back({"file removed", [](const fs::path &file) { fs::remove(file); }});
    for (const auto &[name, replace] : cases) {
        SCOPED_TRACE(name);
        TemporaryFolder folder;
        const fs::path file = folder / "settings.sqlite3";
        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        store->set("before", 1);
        replace(file);
        EXPECT_TRUE(store->set("after", 2));
        auto other = TovikSettingsStore::open(file);
        ASSERT_TRUE(other);
        EXPECT_EQ(other->integer("after"), 2);
        EXPECT_EQ(store->integer("after"), 2);
        EXPECT_FALSE(store->contains("before"));
    }
}

TEST(TovikSettingsStore, BriefWaitGivesUpOnAnotherWritersLock)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    auto store = TovikSettingsStore::open(file);
    auto holder = TovikSettingsStore::open(file);
    ASSERT_TRUE(store && holder);
    store->set("k", 10);
    using Outcome = TovikSettingsStore::Outcome;
    using Wait = TovikSettingsStore::Wait;
    int runs = 0;
    holder->transaction([&](TovikSettingsStore &) {
        EXPECT_EQ(store->transaction([&](TovikSettingsStore &s) { s.set("k", ++runs); }, Wait::briefly), Outcome::busy);
        std::optional<std::int64_t> seen;
        EXPECT_EQ(store->snapshot([&](const TovikSettingsStore &s) { seen = s.integer("k"); }, Wait::briefly),
                  Outcome::done);
        EXPECT_EQ(seen, 10);
    });
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(store->transaction([&](TovikSettingsStore &s) { s.set("k", ++runs); }, Wait::briefly), Outcome::done);
    EXPECT_EQ(holder->integer("k"), 1);
}

TEST(TovikSettingsStore, FilesAre0600AndCreatedFolders0700WhateverTheUmask)
{
    TemporaryFolder folder;
    const mode_t oldMask = ::umask(0222);
    auto store = TovikSettingsStore::open(folder / "a" / "b" / "settings.sqlite3");
    ::umask(oldMask);
    ASSERT_TRUE(store);
    store->set("k", 1);
    EXPECT_EQ(modeOf(folder / "a"), 0700u);
    EXPECT_EQ(modeOf(folder / "a" / "b"), 0700u);
    EXPECT_EQ(modeOf(folder / "a" / "b" / "settings.sqlite3"), 0600u);
    EXPECT_EQ(modeOf(folder / "a" / "b" / "settings.sqlite3-wal"), 0600u);
}

TEST(TovikSettingsStore, PathThatNamesNoFileHasNoStore)
{
    EXPECT_EQ(TovikSettingsStore::open(""), nullptr);
    EXPECT_EQ(TovikSettingsStore::open("/tmp/"), nullptr);
}

// A disk or a path the store's file cannot be written on, made real, and how the user puts it right.
struct WriteTrouble {
    const char *name;
    TovikSettingsStore::Trouble trouble;
    // Makes the trouble under `root` (a small tmpfs of the test's own) and returns the store's path.
    fs::path (*make)(const ScratchMount &root);
    void (*repair)(const ScratchMount &root);
};

void storeKept(const fs::path &file)
{
    auto store = TovikSettingsStore::open(file);
    ASSERT_TRUE(store->set("kept", 1));
}

TEST(TovikSettingsStore, ChangesTheFileCannotTakeAreHeldAndStoredOnceItCan)
{
    using Trouble = TovikSettingsStore::Trouble;
    const std::vector<WriteTrouble> troubles = {
        {"the config folder is a plain file", Trouble::notAFile,
         [](const ScratchMount &root) {
             writeFile(root.path() / "config", "x");
             return root.path() / "config" / "dayvane" / "settings.sqlite3";
         },
         [](const ScratchMount &root) { fs::remove(root.path() / "config"); }},
        {"a full disk", Trouble::diskFull,
         [](const ScratchMount &root) {
             storeKept(root.path() / "settings.sqlite3");
             std::ofstream filler(root.path() / "filler", std::ios::binary);
             const std::string block(4096, 'x');
             while (filler.write(block.data(), block.size())) {
             }
             return root.path() / "settings.sqlite3";
         },
         [](const ScratchMount &root) { fs::remove(root.path() / "filler"); }},
        {"a read-only file system", Trouble::readOnly,
         [](const ScratchMount &root) {
             storeKept(root.path() / "settings.sqlite3");
             EXPECT_TRUE(root.setReadOnly(true));
             return root.path() / "settings.sqlite3";
         },
         [](const ScratchMount &root) { EXPECT_TRUE(root.setReadOnly(false)); }},
        {"a FIFO that cannot be moved aside", Trouble::notAFile,
         [](const ScratchMount &root) {
             ::mkfifo((root.path() / "settings.sqlite3").c_str(), 0600);
             EXPECT_TRUE(root.setReadOnly(true));
             return root.path() / "settings.sqlite3";
         },
         [](const ScratchMount &root) { EXPECT_TRUE(root.setReadOnly(false)); }},
    };
    for (const WriteTrouble &row : troubles) {
        SCOPED_TRACE(row.name);
        TemporaryFolder folder;
        const ScratchMount root(folder / "disk", "64k");
        if (!root.mounted()) {
            GTEST_SKIP() << root.why();
        }
        const fs::path file = row.make(root);
        auto store = TovikSettingsStore::open(file);
        ASSERT_TRUE(store);
        ASSERT_TRUE(store->problem());
        EXPECT_EQ(store->problem()->trouble, row.trouble);
        EXPECT_EQ(store->problem()->path, file);

        EXPECT_FALSE(store->set("held", 7));
        EXPECT_EQ(
            store->transaction([](TovikSettingsStore &s) { s.set("counted", s.integer("held").value_or(0) + 1); }),
            TovikSettingsStore::Outcome::done);
        EXPECT_EQ(store->integer("counted"), 8);
        EXPECT_FALSE(store->flush());

        row.repair(root);
        EXPECT_TRUE(store->flush());
        EXPECT_FALSE(store->problem());
        const auto reopened = TovikSettingsStore::open(file);
        EXPECT_FALSE(reopened->problem());
        EXPECT_EQ(reopened->integer("counted"), 8);
        if (row.trouble != Trouble::notAFile) {
            EXPECT_EQ(reopened->integer("kept"), 1) << "what was stored before is neither lost nor overwritten";
        }
    }
}

TEST(TovikSettingsStore, ListenerHearsOfAStoreThatStartsHoldingOnce)
{
    TemporaryFolder folder;
    writeFile(folder / "config", "x");
    std::vector<fs::path> told;
    TovikSettingsStore::setProblemListener(
        [&](const std::weak_ptr<TovikSettingsStore> &store, const TovikSettingsStore::Problem &problem) {
            EXPECT_TRUE(store.lock());
            told.push_back(problem.path);
        });
    const fs::path file = folder / "config" / "settings.sqlite3";
    auto store = TovikSettingsStore::open(file);
    store->set("a", 1);
    store->set("b", 2);
    EXPECT_EQ(told, std::vector<fs::path>{file});
    fs::remove(folder / "config");
    EXPECT_TRUE(store->flush());
    fs::remove_all(folder / "config");
    writeFile(folder / "config", "x");
    store->set("c", 3);
    EXPECT_FALSE(store->flush());
    EXPECT_EQ(told, (std::vector<fs::path>{file, file})) << "told again after it had stored in between";
    TovikSettingsStore::setProblemListener({});
}

TEST(TovikSettingsStore, FifoAtTheStorePathIsSetAsideWithoutBlocking)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto store = TovikSettingsStore::open(file);
    EXPECT_FALSE(store->problem());
    EXPECT_TRUE(store->set("k", 1));
    EXPECT_EQ(setAsideFiles(folder.path()).size(), 1u);
}

// Another program reading the store (a backup, the sqlite3 shell) while the process holds it open.
void readWithSqliteShell(const fs::path &file)
{
    const std::string command = "sqlite3 '" + file.string() + "' 'select count(*) from settings' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
}

TEST(TovikSettingsStore, ProcessKeepsItsLockWhenItOpensTheStoreAgain)
{
    TemporaryFolder folder;
    ScopedEnvironment config("XDG_CONFIG_HOME", folder.path().c_str());
    const auto store = TovikSettingsStore::standard();
    ASSERT_TRUE(store->set("k", 1));
    EXPECT_EQ(TovikSettingsStore::standard(), store) << "one store per file and process";
    const auto second = TovikSettingsStore::open(store->path());
    ASSERT_TRUE(second->set("k", 2));
    readWithSqliteShell(store->path());
    // Had the process dropped its locks, the reader would have taken itself for the last one and removed the
    // journal, with the changes only it held.
    EXPECT_TRUE(fs::exists(store->path().string() + "-wal"));
    EXPECT_TRUE(fs::exists(store->path().string() + "-shm"));
}

TEST(TovikSettingsStore, StandardStoreAndSuitesLiveUnderTheConfigFolder)
{
    TemporaryFolder folder;
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", folder.path().c_str());
        EXPECT_EQ(TovikSettingsStore::standard()->path(), folder / "dayvane" / "settings.sqlite3");
        EXPECT_EQ(TovikSettingsStore::suite("K9PZQW41RT.local.tovik.dayvane")->path(),
                  folder / "K9PZQW41RT.local.tovik.dayvane" / "settings.sqlite3");
        for (const char *name : {"", ".", "..", "../escape", "a/b"}) {
            EXPECT_EQ(TovikSettingsStore::suite(name), nullptr) << name;
        }
    }
    for (const char *unusable : {static_cast<const char *>(nullptr), "", "relative/config"}) {
        ScopedEnvironment config("XDG_CONFIG_HOME", unusable);
        ScopedEnvironment home("HOME", folder.path().c_str());
        EXPECT_EQ(TovikSettingsStore::configHome(), folder / ".config");
    }
}

TEST(TovikSettingsStore, TransactionCommitsAllOrNothing)
{
    TemporaryFolder folder;
    const fs::path file = folder / "settings.sqlite3";
    auto store = TovikSettingsStore::open(file);
    auto other = TovikSettingsStore::open(file);
    ASSERT_TRUE(store && other);

    EXPECT_THROW(store->transaction([](TovikSettingsStore &s) {
        s.set("a", 1);
        throw std::runtime_error("stop");
    }),
                 std::runtime_error);
    EXPECT_FALSE(other->contains("a"));

    const TovikSettingsStore::Outcome committed = store->transaction([](TovikSettingsStore &s) {
        s.set("a", 1);
        s.transaction([](TovikSettingsStore &inner) { inner.set("b", 2); });
    });
    EXPECT_EQ(committed, TovikSettingsStore::Outcome::done);
    EXPECT_EQ(other->integer("a"), 1);
    EXPECT_EQ(other->integer("b"), 2);

    // While one connection holds the write lock, a second one's reads still see the last commit.
    store->transaction([&](TovikSettingsStore &s) {
        s.set("a", 10);
        EXPECT_EQ(other->integer("a"), 1);
    });
    EXPECT_EQ(other->integer("a"), 10);
}

TEST(TovikSettingsStore, ThreadsSharingOneStoreLoseNoIncrement)
{
    TemporaryFolder folder;
    auto store = TovikSettingsStore::open(folder / "settings.sqlite3");
    ASSERT_TRUE(store);
    constexpr int perThread = 300;
    auto increment = [&] {
        for (int i = 0; i < perThread; ++i) {
            store->transaction([](TovikSettingsStore &s) { s.set("count", s.integer("count").value_or(0) + 1); });
            store->snapshot([](const TovikSettingsStore &s) { s.integer("count"); });
        }
    };
    std::thread first(increment);
    std::thread second(increment);
    increment();
    first.join();
    second.join();
    EXPECT_EQ(store->integer("count"), 3 * perThread);
}
