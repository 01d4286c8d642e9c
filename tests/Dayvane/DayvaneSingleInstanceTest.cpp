#include <Dayvane/DayvaneSingleInstance.h>

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

class DayvaneSingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()); }

    QString socketPath() const { return m_folder.filePath("runtime/dayvane/app.socket"); }

    // A second process's side, run on its own thread while this one's event loop serves the request.
    bool handOverFromAnotherThread(const QStringList &request)
    {
        std::atomic<int> result{-1};
        std::thread client([&] {
            DayvaneSingleInstance second(socketPath());
            result = second.handOver(request) ? 1 : 0;
        });
        const bool finished = QTest::qWaitFor([&] { return result.load() != -1; }, 10000);
        client.join();
        return finished && result.load() == 1;
    }

    QTemporaryDir m_folder;
};

TEST_F(DayvaneSingleInstanceTest, withNobodyRunningTheProcessBecomesTheInstance)
{
    DayvaneSingleInstance instance(socketPath());
    EXPECT_FALSE(instance.handOver({"reopen"}));
    EXPECT_EQ(instance.state(), DayvaneSingleInstance::State::undecided);
    ASSERT_TRUE(instance.listen());
    EXPECT_EQ(instance.state(), DayvaneSingleInstance::State::listening);
    const auto folder = std::filesystem::status(QFileInfo(socketPath()).absolutePath().toStdString());
    EXPECT_EQ(folder.permissions() & std::filesystem::perms::all, std::filesystem::perms::owner_all)
        << "only the user may reach the socket";
}

TEST_F(DayvaneSingleInstanceTest, aSecondInstanceHandsItsRequestOver)
{
    DayvaneSingleInstance instance(socketPath());
    ASSERT_TRUE(instance.listen());
    QSignalSpy received(&instance, &DayvaneSingleInstance::messageReceived);

    EXPECT_TRUE(handOverFromAnotherThread({"dayvane://clock", "https://example.com/x?y=1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }));
    EXPECT_EQ(received.takeFirst().at(0).toStringList(), (QStringList{"dayvane://clock", "https://example.com/x?y=1"}));

    EXPECT_TRUE(handOverFromAnotherThread({"reopen"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }));
    EXPECT_EQ(received.takeFirst().at(0).toStringList(), QStringList{"reopen"});
}

TEST_F(DayvaneSingleInstanceTest, aLeftoverSocketIsReplaced)
{
    {
        DayvaneSingleInstance gone(socketPath());
        ASSERT_TRUE(gone.listen());
    }
    // A crashed instance leaves its socket file behind; stand one in with a plain file.
    QFile leftover(socketPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    DayvaneSingleInstance instance(socketPath());
    EXPECT_FALSE(instance.handOver({"reopen"}));
    ASSERT_TRUE(instance.listen());
    QSignalSpy received(&instance, &DayvaneSingleInstance::messageReceived);
    EXPECT_TRUE(handOverFromAnotherThread({"reopen"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }));
}

TEST_F(DayvaneSingleInstanceTest, anUnfinishedOrOversizedRequestIsDropped)
{
    DayvaneSingleInstance instance(socketPath());
    ASSERT_TRUE(instance.listen());
    QSignalSpy received(&instance, &DayvaneSingleInstance::messageReceived);

    QLocalSocket unfinished;
    unfinished.connectToServer(socketPath());
    ASSERT_TRUE(unfinished.waitForConnected(2000));
    unfinished.write("dayvane://clock\n");
    unfinished.flush();
    unfinished.disconnectFromServer();

    QLocalSocket oversized;
    oversized.connectToServer(socketPath());
    ASSERT_TRUE(oversized.waitForConnected(2000));
    oversized.write(QByteArray(100 * 1024, 'x'));
    oversized.flush();
    EXPECT_TRUE(QTest::qWaitFor([&] { return oversized.state() == QLocalSocket::UnconnectedState; }));

    // The instance still serves a proper request afterwards, and only that one arrives.
    EXPECT_TRUE(handOverFromAnotherThread({"reopen"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }));
    EXPECT_EQ(received.takeFirst().at(0).toStringList(), QStringList{"reopen"});
}

} // namespace
