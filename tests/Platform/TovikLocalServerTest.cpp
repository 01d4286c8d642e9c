#include "TemporaryFolder.h"

#include <Platform/LocalSocket/TovikLocalServer.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;
using TovikLocalProtocol::Kind;
using TovikLocalProtocol::Request;

namespace {

// A server on a socket in a temporary folder, and clients on their own threads while this thread's event
// loop serves them.
class TovikLocalServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto listener = TovikLocalListener::replace(socket);
        ASSERT_TRUE(listener);
        server = std::make_unique<TovikLocalServer>(std::move(listener), std::vector<Kind>{Kind::open, Kind::reopen});
        connect();
    }

    void connect()
    {
        QObject::connect(server.get(), &TovikLocalServer::requestReceived, server.get(),
                         [this](const Request &request) { received.push_back(request); });
    }

    std::future<std::optional<std::string>> send(std::string line)
    {
        return std::async(std::launch::async, [this, line] { return TovikLocalSocket::exchange(socket, line, 10s); });
    }

    // The client's reply, serving the event loop meanwhile.
    static std::optional<std::string> replyOf(std::future<std::optional<std::string>> &client)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return client.wait_for(0s) == std::future_status::ready; }, 10000));
        return client.get();
    }

    TemporaryFolder folder;
    const std::filesystem::path socket = folder / "app.socket";
    std::unique_ptr<TovikLocalServer> server;
    std::vector<Request> received;
};

bool outOfDescriptors()
{
    const int spare = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    if (spare < 0) {
        return errno == EMFILE;
    }
    ::close(spare);
    return false;
}

int openDescriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

// CPU time of the calling thread, which runs the event loop.
std::chrono::microseconds threadCpu()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    return std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

} // namespace

TEST_F(TovikLocalServerTest, eachLineGetsItsAnswer)
{
    struct Case {
        std::string line;
        std::string reply;
    };
    const Case cases[] = {
        {"dayvane1 open activation=t dayvane://clock\n", "ok"},
        {"dayvane1 reopen\n", "ok"},
        {"dayvane1 reload DayvaneClockWidget\n", "error unsupported"},
        {"dayvane9 reopen\n", "error version"},
        {"dayvane1 close-main-window\n", "error request"},
        {"dayvane1 open " + std::string(TovikLocalProtocol::maximumLineBytes, 'x') + "\n", "error request"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.substr(0, 40));
        auto client = send(c.line);
        EXPECT_EQ(replyOf(client), c.reply);
    }
    const std::vector<Request> expected{{Kind::open, {"dayvane://clock"}, "t"}, {Kind::reopen, {}, ""}};
    EXPECT_EQ(received, expected);
}

TEST_F(TovikLocalServerTest, whilePausedRequestsWaitUnansweredAndComeInOrder)
{
    server->setPaused(true);
    auto first = send("dayvane1 open dayvane://calendar\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->waitingRequests() == 1; }));
    auto second = send("dayvane1 reopen\n");
    auto refused = send("dayvane1 reload DayvaneClockWidget\n");
    EXPECT_EQ(replyOf(refused), "error unsupported") << "a refusal does not wait";
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->waitingRequests() == 2; }));
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(first.wait_for(0s), std::future_status::timeout);

    server->setPaused(false);
    EXPECT_EQ(replyOf(first), "ok");
    EXPECT_EQ(replyOf(second), "ok");
    const std::vector<Request> expected{{Kind::open, {"dayvane://calendar"}, ""}, {Kind::reopen, {}, ""}};
    EXPECT_EQ(received, expected);
}

TEST_F(TovikLocalServerTest, goingAwayClosesWaitingClientsAndRemovesTheSocket)
{
    server->setPaused(true);
    auto waiting = send("dayvane1 reopen\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->waitingRequests() == 1; }));
    server.reset();
    EXPECT_EQ(waiting.get(), std::nullopt) << "the client learns at once that nobody will answer";
    EXPECT_FALSE(std::filesystem::exists(socket));
    EXPECT_TRUE(received.empty());
}

TEST_F(TovikLocalServerTest, aClientThatLeavesEarlyDoesNotStopTheServer)
{
    EXPECT_TRUE(TovikLocalSocket::post(socket, "dayvane1 reopen\n", 1s));
    EXPECT_TRUE(TovikLocalSocket::post(socket, "dayvane1 reo", 1s));
    auto client = send("dayvane1 reopen\n");
    EXPECT_EQ(replyOf(client), "ok");
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.size() == 2; }));
}

TEST_F(TovikLocalServerTest, outOfDescriptorsItWaitsWithoutSpinningAndRecovers)
{
    // Clients that connect and say nothing, more than the server may take.
    sockaddr_un address{};
    ASSERT_TRUE(TovikLocalSocket::fillAddress(socket, address));
    std::vector<int> silent;
    for (int i = 0; i < 32; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
        silent.push_back(fd);
    }
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit tight = old;
    tight.rlim_cur = static_cast<rlim_t>(openDescriptors() + 4);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    ASSERT_TRUE(QTest::qWaitFor(outOfDescriptors));

    // A connection waits that cannot be taken: watching for it would wake the loop at once, every time.
    const auto cpuBefore = threadCpu();
    const auto wallBefore = std::chrono::steady_clock::now();
    QTest::qWait(500);
    const auto cpu = threadCpu() - cpuBefore;
    const auto wall = std::chrono::steady_clock::now() - wallBefore;
    EXPECT_LT(cpu * 4, wall) << cpu.count() << " µs of CPU";

    // Once descriptors free, the next hand-over is served.
    for (const int fd : silent) {
        ::close(fd);
    }
    auto client = send("dayvane1 reopen\n");
    EXPECT_EQ(replyOf(client), "ok");
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &old), 0);
}
