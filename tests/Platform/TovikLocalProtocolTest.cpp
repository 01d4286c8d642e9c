#include <Platform/LocalSocket/TovikLocalProtocol.h>

#include <gtest/gtest.h>

namespace {

using TovikLocalProtocol::Kind;
using TovikLocalProtocol::Reply;
using TovikLocalProtocol::Request;

TEST(TovikLocalProtocol, requestsTravelAsOneLineAndComeBackWhole)
{
    struct Case {
        Request request;
        std::string line;
    };
    const Case cases[] = {
        {{Kind::open, {"dayvane://clock"}, ""}, "dayvane1 open dayvane://clock\n"},
        {{Kind::open, {"mailto:x@example.com", "dayvane://Stopwatch/anything?x=1"}, ""},
         "dayvane1 open mailto:x@example.com dayvane://Stopwatch/anything?x%3D1\n"},
        {{Kind::reopen, {}, ""}, "dayvane1 reopen\n"},
        {{Kind::reopen, {}, "kwin-4242_TIME1731"}, "dayvane1 reopen activation=kwin-4242_TIME1731\n"},
        {{Kind::open, {"dayvane://calendar"}, "a=b c"}, "dayvane1 open activation=a%3Db%20c dayvane://calendar\n"},
        {{Kind::reload, {"DayvaneStopwatchWidget"}, ""}, "dayvane1 reload DayvaneStopwatchWidget\n"},
        // Line breaks, spaces and percent signs inside a word cannot split or shift the line.
        {{Kind::reload, {"Two\nLines\r 100%"}, ""}, "dayvane1 reload Two%0ALines%0D%20100%25\n"},
        {{Kind::open, {"https://例子.测试/路径"}, ""}, "dayvane1 open https://例子.测试/路径\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(TovikLocalProtocol::encode(c.request), c.line);
        const auto decoded = TovikLocalProtocol::decode(std::string_view(c.line).substr(0, c.line.size() - 1));
        ASSERT_TRUE(std::holds_alternative<Request>(decoded));
        EXPECT_EQ(std::get<Request>(decoded), c.request);
    }
}

TEST(TovikLocalProtocol, requestsOutsideTheirKindsShapeAreNotWritten)
{
    const Request refused[] = {
        {Kind::open, {}, ""},
        {Kind::open, {"dayvane://clock", ""}, ""},
        {Kind::reopen, {"dayvane://clock"}, ""},
        {Kind::reload, {}, ""},
        {Kind::reload, {"A", "B"}, ""},
        {Kind::reload, {"DayvaneClockWidget"}, "token"},
        {Kind::open, {std::string(TovikLocalProtocol::maximumLineBytes, 'x')}, ""},
    };
    for (const Request &request : refused) {
        EXPECT_EQ(TovikLocalProtocol::encode(request), std::nullopt);
    }
}

TEST(TovikLocalProtocol, malformedLinesGetTheirError)
{
    struct Case {
        std::string line;
        Reply reply;
    };
    const Case cases[] = {
        {"dayvane2 reopen", Reply::errorVersion},
        {"reopen", Reply::errorVersion},
        {"", Reply::errorVersion},
        {"dayvane1", Reply::errorRequest},
        {"dayvane1 close-main-window", Reply::errorRequest},
        {"dayvane1 Reopen", Reply::errorRequest},
        {"dayvane1 reopen ", Reply::errorRequest},
        {"dayvane1  reopen", Reply::errorRequest},
        {"dayvane1 open", Reply::errorRequest},
        {"dayvane1 reopen dayvane://clock", Reply::errorRequest},
        {"dayvane1 reopen activation=", Reply::errorRequest},
        {"dayvane1 reopen activation=a activation=b", Reply::errorRequest},
        {"dayvane1 reopen focus=a", Reply::errorRequest},
        {"dayvane1 open activation=a=b dayvane://clock", Reply::errorRequest},
        {"dayvane1 open dayvane://clock%", Reply::errorRequest},
        {"dayvane1 open dayvane://clock%4", Reply::errorRequest},
        {"dayvane1 open dayvane://clock%zz", Reply::errorRequest},
        {"dayvane1 open dayvane://clock%0a", Reply::errorRequest},
        {"dayvane1 open dayvane://c\tlock", Reply::errorRequest},
        {"dayvane1 reload A B", Reply::errorRequest},
        {"dayvane1 open " + std::string(TovikLocalProtocol::maximumLineBytes, 'x'), Reply::errorRequest},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const auto decoded = TovikLocalProtocol::decode(c.line);
        ASSERT_TRUE(std::holds_alternative<Reply>(decoded));
        EXPECT_EQ(std::get<Reply>(decoded), c.reply);
    }
}

TEST(TovikLocalProtocol, repliesAreOneLineEach)
{
    const std::pair<Reply, std::string> replies[] = {
        {Reply::ok, "ok\n"},
        {Reply::errorVersion, "error version\n"},
        {Reply::errorRequest, "error request\n"},
        {Reply::errorUnsupported, "error unsupported\n"},
    };
    for (const auto &[reply, line] : replies) {
        EXPECT_EQ(TovikLocalProtocol::replyLine(reply), line);
        EXPECT_EQ(TovikLocalProtocol::decodeReply(line.substr(0, line.size() - 1)), reply);
    }
    for (const char *other : {"", "OK", "ok ", "error", "error unknown"}) {
        EXPECT_EQ(TovikLocalProtocol::decodeReply(other), std::nullopt) << other;
    }
}

} // namespace
