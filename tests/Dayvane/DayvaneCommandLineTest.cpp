#include <Dayvane/DayvaneCommandLine.h>

#include <gtest/gtest.h>

namespace {

using Action = DayvaneCommandLine::Action;

TEST(DayvaneCommandLine, takesUrlsHelpAndVersionOnly)
{
    struct Case {
        QStringList arguments;
        Action action;
        QStringList urls;
    };
    const Case cases[] = {
        {{"dayvane"}, Action::run, {}},
        {{"dayvane", "dayvane://clock"}, Action::run, {"dayvane://clock"}},
        {{"dayvane", "mailto:x@example.com", "", "dayvane://calendar"},
         Action::run,
         {"mailto:x@example.com", "dayvane://calendar"}},
        {{"dayvane", "--", "--version"}, Action::run, {"--version"}},
        {{"dayvane", "--help"}, Action::showHelp, {}},
        {{"dayvane", "-h", "dayvane://clock"}, Action::showHelp, {}},
        {{"dayvane", "--version"}, Action::showVersion, {}},
        {{"dayvane", "-v"}, Action::showVersion, {}},
        // The hidden commands of old are URLs now, which nothing opens; options are refused.
        {{"dayvane", "reopen"}, Action::run, {"reopen"}},
        {{"dayvane", "close-main-window"}, Action::run, {"close-main-window"}},
        {{"dayvane", "--reopen"}, Action::fail, {}},
        {{"dayvane", "-platform", "xcb"}, Action::fail, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const DayvaneCommandLine commandLine = DayvaneCommandLine::parse(c.arguments);
        EXPECT_EQ(commandLine.action, c.action);
        EXPECT_EQ(commandLine.urls, c.urls);
    }
}

TEST(DayvaneCommandLine, printsWhatItWasAskedFor)
{
    EXPECT_TRUE(DayvaneCommandLine::parse({"dayvane", "--help"}).text.startsWith("用法：dayvane [选项] [链接…]"));
    const DayvaneCommandLine check = DayvaneCommandLine::parse({"dayvane", "--check-holidays", "2028.json"});
    EXPECT_EQ(check.action, DayvaneCommandLine::Action::checkHolidays);
    EXPECT_EQ(check.holidayFile, "2028.json");
    EXPECT_EQ(DayvaneCommandLine::parse({"dayvane", "--check-holidays"}).action, DayvaneCommandLine::Action::fail);
    EXPECT_TRUE(DayvaneCommandLine::parse({"dayvane", "--version"}).text.startsWith("dayvane "));
    // Failures speak the program's language, as its windows do.
    EXPECT_TRUE(DayvaneCommandLine::parse({"dayvane", "--bogus"}).text.startsWith("dayvane: 未知的选项 bogus\n"));
    EXPECT_TRUE(DayvaneCommandLine::parse({"dayvane", "--check-holidays"})
                    .text.startsWith("dayvane: --check-holidays 需要一个文件\n"));
}

TEST(DayvaneCommandLine, handsOverItsUrlsOrAReopenWithTheToken)
{
    using TovikLocalProtocol::Kind;
    using TovikLocalProtocol::Request;
    EXPECT_EQ(DayvaneCommandLine::parse({"dayvane"}).request("token"), (Request{Kind::reopen, {}, "token"}));
    EXPECT_EQ(DayvaneCommandLine::parse({"dayvane", "a:b", "dayvane://clock"}).request({}),
              (Request{Kind::open, {"a:b", "dayvane://clock"}, ""}));
}

} // namespace
