// The stopwatch as the window drives it while another process holds the shared suite: presses never make the
// window wait, show at once, and are written in order once the other process lets go.
#include "StopwatchLookup.h"

#include <ClockCalendarFeature/StopwatchActionQueue.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const QColor cyan = QColor::fromRgbF(0.15f, 0.98f, 1.0f);

// Another process that holds the suite's write lock from construction until release().
class LockHolder {
public:
    explicit LockHolder(const fs::path &file)
    {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(m_release) != 0) {
            return;
        }
        m_child = ::fork();
        if (m_child == 0) {
            ::close(ready[0]);
            ::close(m_release[1]);
            sqlite3 *db = nullptr;
            sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
            const bool locked = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
            const char answer = locked ? 'l' : 'x';
            char release = 0;
            const bool told = ::write(ready[1], &answer, 1) == 1 && ::read(m_release[0], &release, 1) >= 0;
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_close_v2(db);
            ::_exit(locked && told ? 0 : 1);
        }
        ::close(ready[1]);
        ::close(m_release[0]);
        char answer = 0;
        m_held = m_child > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'l';
        ::close(ready[0]);
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    // Held by a child that lets go only when told, so while it is still running the lock is held.
    bool isHeld() const { return m_held && ::waitpid(m_child, nullptr, WNOHANG) == 0; }
    void release()
    {
        if (m_child > 0) {
            ::close(m_release[1]);
            int status = 0;
            ::waitpid(m_child, &status, 0);
            m_child = -1;
        }
    }

private:
    int m_release[2] = {-1, -1};
    pid_t m_child = -1;
    bool m_held = false;
};

void execute(const fs::path &file, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close_v2(db);
}

class StopwatchActionQueueTest : public ::testing::Test {
protected:
    fs::path file() const { return (m_folder.path() + "/suite.sqlite3").toStdString(); }
    StopwatchStore store() const { return StopwatchStore(TovikSettingsStore::open(file()), "dayvane.stopwatch"); }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(StopwatchActionQueueTest, PressesWhileAnotherProcessHoldsTheSuiteShowAtOnceAndLandInOrder)
{
    store().save({30, std::nullopt});
    StopwatchView view(TovikClock::shared(), store(), true);
    view.show();
    view.resize(324, 131);
    ASSERT_EQ(view.label()->text(), QStringLiteral("00:00:30"));

    LockHolder lock(file());
    ASSERT_TRUE(lock.isHeld());
    QTest::mousePress(stopwatchToggleButton(view), Qt::LeftButton);
    // The press has returned and the other process still holds the lock: the window did not wait for it.
    EXPECT_TRUE(lock.isHeld());
    EXPECT_EQ(stopwatchToggleButton(view)->title(), QStringLiteral("暂停"));
    EXPECT_EQ(view.label()->palette().color(QPalette::WindowText), cyan);
    EXPECT_EQ(store().load(), (StopwatchState{30, std::nullopt}));

    QTest::mousePress(stopwatchResetButton(view), Qt::LeftButton);
    EXPECT_EQ(view.label()->text(), QStringLiteral("00:00:00"));
    const Instant beforeRestart = currentInstant();
    QTest::mousePress(stopwatchToggleButton(view), Qt::LeftButton);
    const Instant afterRestart = currentInstant();
    EXPECT_EQ(stopwatchToggleButton(view)->title(), QStringLiteral("暂停"));
    // A tick while the lock is held keeps what the user asked for.
    view.refresh();
    EXPECT_EQ(stopwatchToggleButton(view)->title(), QStringLiteral("暂停"));
    EXPECT_TRUE(lock.isHeld());
    EXPECT_EQ(store().load(), (StopwatchState{30, std::nullopt}));

    // Start, reset, start again: written in that order, each at the instant of its press.
    lock.release();
    QTRY_VERIFY_WITH_TIMEOUT(!view.findChild<StopwatchActionQueue *>()->isWaiting(), 5000);
    const StopwatchState stored = store().load();
    ASSERT_TRUE(stored.isRunning());
    EXPECT_EQ(stored.accumulatedSeconds, 0);
    EXPECT_GE(*stored.startedAt, beforeRestart);
    EXPECT_LE(*stored.startedAt, afterRestart);
    EXPECT_EQ(stopwatchToggleButton(view)->title(), QStringLiteral("暂停"));
}

TEST_F(StopwatchActionQueueTest, ReadThatFailsKeepsTheLastState)
{
    store().save({42, std::nullopt});
    StopwatchView view(TovikClock::shared(), store(), false);
    ASSERT_EQ(view.label()->text(), QStringLiteral("00:00:42"));
    // Another program empties the suite underneath: nothing can be read, and nothing read is not zero.
    execute(file(), "DROP TABLE settings");
    view.refresh();
    EXPECT_EQ(view.label()->text(), QStringLiteral("00:00:42"));
}

TEST_F(StopwatchActionQueueTest, ActionsWaitForTheLockAndTellTheirOwnerWhenWritten)
{
    StopwatchActionQueue queue(store(), nullptr);
    int settled = 0;
    queue.onSettled = [&] { ++settled; };
    EXPECT_EQ(queue.refresh(), StopwatchState{});

    LockHolder lock(file());
    ASSERT_TRUE(lock.isHeld());
    queue.toggle(1000);
    queue.toggle(1010);
    queue.toggle(1020);
    EXPECT_TRUE(queue.isWaiting());
    EXPECT_EQ(queue.refresh(), (StopwatchState{10, 1020.0}));
    EXPECT_EQ(settled, 0);

    lock.release();
    QTRY_VERIFY_WITH_TIMEOUT(!queue.isWaiting(), 5000);
    EXPECT_EQ(settled, 1);
    EXPECT_EQ(store().load(), (StopwatchState{10, 1020.0}));
    EXPECT_EQ(queue.refresh(), (StopwatchState{10, 1020.0}));

    // Written at once when nothing holds the suite, with nobody to tell.
    queue.reset();
    EXPECT_FALSE(queue.isWaiting());
    EXPECT_EQ(store().load(), StopwatchState{});
    EXPECT_EQ(settled, 1);
}

TEST_F(StopwatchActionQueueTest, PressIsKeptWhenAFolderTookTheSuitesName)
{
    StopwatchActionQueue queue(store(), nullptr);
    for (const char *suffix : {"", "-wal", "-shm"}) {
        fs::remove(file().string() + suffix);
    }
    fs::create_directory(file());
    queue.toggle(1000);
    EXPECT_FALSE(queue.isWaiting());
    EXPECT_EQ(queue.refresh(), (StopwatchState{0, 1000.0}));
}
