#include <TovikWidgetKit/TovikLiveTimerText.h>

#include <QSignalSpy>
#include <gtest/gtest.h>

#include <limits>

namespace {

struct Reading {
    double elapsed;
    const char *text;
};

// The widths grow as the platform's timer text does: M:SS, MM:SS, H:MM:SS, HH:MM:SS and on past a day.
TEST(TovikLiveTimerText, WritesElapsedTimeByItsSize)
{
    const Reading readings[] = {
        {0, "0:00"},
        {0.999, "0:00"},
        {59.99, "0:59"},
        {545, "9:05"},
        {599.5, "9:59"},
        {600, "10:00"},
        {3599, "59:59"},
        {3600, "1:00:00"},
        {32703, "9:05:03"},
        {35999, "9:59:59"},
        {36000, "10:00:00"},
        {86399, "23:59:59"},
        {90000, "25:00:00"},
        {-5, "0:00"},
        {std::numeric_limits<double>::quiet_NaN(), "0:00"},
        {std::numeric_limits<double>::infinity(), "0:00"},
    };
    for (const Reading &reading : readings) {
        EXPECT_EQ(TovikLiveTimerText::format(reading.elapsed).toStdString(), reading.text) << reading.elapsed;
    }
}

TEST(TovikLiveTimerText, FollowsTheCurrentSecondItIsGiven)
{
    TovikLiveTimerText timer;
    QSignalSpy changed(&timer, &TovikLiveTimerText::textChanged);
    timer.setFrom(1000);
    timer.setNow(1000 + 3600 + 62);
    EXPECT_EQ(timer.text(), QStringLiteral("1:01:02"));
    EXPECT_EQ(changed.count(), 2);
    timer.setNow(1000 + 3600 + 62);
    EXPECT_EQ(changed.count(), 2);
}

} // namespace
