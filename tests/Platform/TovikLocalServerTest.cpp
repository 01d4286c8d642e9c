#include "TemporaryFolder.h"

#include <Platform/LocalSocket/TovikLocalServer.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <future>

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
