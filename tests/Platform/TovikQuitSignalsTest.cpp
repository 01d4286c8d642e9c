#include <Platform/Ui/TovikQuitSignals.h>

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

TEST(TovikQuitSignals, eachQuitSignalArrivesThroughTheEventLoop)
{
    TovikQuitSignals quitSignals;
    QSignalSpy received(&quitSignals, &TovikQuitSignals::received);
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        ASSERT_EQ(::kill(::getpid(), signalNumber), 0);
        EXPECT_TRUE(received.count() == 0) << "nothing happens inside the handler itself";
        ASSERT_TRUE(received.wait(5000));
        EXPECT_EQ(received.takeFirst().at(0).toInt(), signalNumber);
    }
}

TEST(TovikQuitSignals, theDefaultActionsComeBackAfterwards)
{
    {
        TovikQuitSignals quitSignals;
    }
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        struct sigaction current {};
        ::sigaction(signalNumber, nullptr, &current);
        EXPECT_EQ(current.sa_handler, SIG_DFL) << signalNumber;
    }
}
