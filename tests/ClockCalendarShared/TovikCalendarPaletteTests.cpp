#include <ClockCalendarShared/TovikCalendarPalette.h>

#include <gtest/gtest.h>

// The calendar page and the widget both build colours from these numbers; a slip here shows in both.
TEST(TovikCalendarPalette, AccentsAndLevels)
{
    using namespace TovikCalendarPalette;
    const double accents[][3] = {{todayBlueRed, todayBlueGreen, todayBlueBlue},
                                 {todayCherryRed, todayCherryGreen, todayCherryBlue},
                                 {selectionBlueRed, selectionBlueGreen, selectionBlueBlue}};
    const double expected[][3] = {{0.04, 0.52, 1.0}, {0.87, 0.19, 0.39}, {0.55, 0.78, 1.0}};
    for (int colour = 0; colour < 3; ++colour)
        for (int component = 0; component < 3; ++component)
            EXPECT_EQ(accents[colour][component], expected[colour][component]) << colour << ' ' << component;
    EXPECT_EQ(selectionFillAlpha, 0.3);
    EXPECT_EQ(selectionCornerRadius, 8.0);
    EXPECT_EQ(dividerAlpha, 0.18);
    EXPECT_EQ(weekendDayAlpha, 0.62);
}
