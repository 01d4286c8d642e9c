// Ticks are due at the next whole second of what a view shows, never before it.
#include <Platform/Ui/TovikTickSchedule.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TovikTickSchedule, NextWholeSecondIsDueExactlyAtTheFlip)
{
    struct Case {
        double reading;
        int expected;
    };
    const Case cases[] = {
        {1771286400.0, 1000},    // on the second: the next one is a full second away
        {1771286400.25, 750},    // a quarter past
        {1771286400.999, 1},     // a millisecond before the flip
        {1771286400.9996, 1},    // less than a millisecond before: rounded up, not down to 0
        {1771286400.0004, 1000}, // just past the flip: rounded up, so never early
        {0.3, 700},              // a stopwatch's elapsed time
        {359999.5, 500},         // 99:59:59.5 on a stopwatch
        {-0.25, 250},            // before 1970 still flips at whole seconds
    };
    for (const Case &c : cases) {
        EXPECT_EQ(TovikTickSchedule::msUntilNextWholeSecond(c.reading), c.expected) << c.reading;
    }
    EXPECT_EQ(TovikTickSchedule::msUntilNextWholeSecond(std::nan("")), 1000);
    EXPECT_EQ(TovikTickSchedule::msUntilNextWholeSecond(std::numeric_limits<double>::infinity()), 1000);
}

TEST(TovikTickSchedule, DelaysUntilAnInstantStayBetweenNowAndADay)
{
    EXPECT_EQ(TovikTickSchedule::msUntil(100, 100.5), 500);
    EXPECT_EQ(TovikTickSchedule::msUntil(100, 100.0001), 1);
    EXPECT_EQ(TovikTickSchedule::msUntil(100, 99), 0);
    EXPECT_EQ(TovikTickSchedule::msUntil(0, 3 * 86400), 86400000);
    EXPECT_EQ(TovikTickSchedule::msUntil(0, std::nan("")), 0);
}
