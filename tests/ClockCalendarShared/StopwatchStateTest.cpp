#include <ClockCalendarShared/StopwatchState.h>

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

struct Case {
    const char *name;
    StopwatchState state;
    Instant now;
    double elapsed;
    const char *text;
};

} // namespace

TEST(StopwatchState, ElapsedAndItsText)
{
    const Case cases[] = {
        {"reset", {0, std::nullopt}, 1000, 0, "00:00:00"},
        {"fraction is dropped, not rounded", {3725.9, std::nullopt}, 0, 3725.9, "01:02:05"},
        {"just under a minute", {59.999, std::nullopt}, 0, 59.999, "00:00:59"},
        {"last second of a day", {86399, std::nullopt}, 0, 86399, "23:59:59"},
        {"hours are not capped", {360000, std::nullopt}, 0, 360000, "100:00:00"},
        {"running adds the lap", {5, 1000.0}, 1007.5, 12.5, "00:00:12"},
        {"start in the future counts nothing", {10, 2000.0}, 1000, 10, "00:00:10"},
        {"negative accumulated reads zero", {-30, std::nullopt}, 0, 0, "00:00:00"},
        {"negative total reads zero", {-30, 1000.0}, 1010, 0, "00:00:00"},
        {"not-a-number accumulated reads zero", {nan, std::nullopt}, 0, 0, "00:00:00"},
        {"not-a-number start counts nothing", {7, nan}, 1000, 7, "00:00:07"},
        {"largest whole seconds",
         {9223372036854774784.0, std::nullopt},
         0,
         9223372036854774784.0,
         "2562047788015215:13:04"},
        {"beyond int64 is clamped", {1e300, std::nullopt}, 0, 1e300, "2562047788015215:30:07"},
        {"infinity is clamped", {infinity, std::nullopt}, 0, infinity, "2562047788015215:30:07"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.state.elapsed(c.now), c.elapsed);
        EXPECT_EQ(c.state.elapsedText(c.now), c.text);
    }
}

TEST(StopwatchState, RunningIsThePresenceOfAStart)
{
    EXPECT_FALSE((StopwatchState{12, std::nullopt}).isRunning());
    EXPECT_TRUE((StopwatchState{0, 0.0}).isRunning());
    EXPECT_EQ((StopwatchState{1, 2.0}), (StopwatchState{1, 2.0}));
    EXPECT_NE((StopwatchState{1, 2.0}), (StopwatchState{1, std::nullopt}));
}
