#include "ZonePin.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarWidgets/WidgetViewProperties.h>

#include <QColor>
#include <QStringList>
#include <gtest/gtest.h>

// What the views are handed for an entry, in Beijing time.
namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

struct PrefixCase {
    double accumulated;
    std::optional<Instant> startedAt;
    Instant date;
    const char *prefix;
};

TEST(WidgetViewProperties, StopwatchPrefixCompletesTheTimerTextToHoursMinutesSeconds)
{
    const PrefixCase cases[] = {
        {0, std::nullopt, 0, "00:0"},   {599.9, std::nullopt, 0, "00:0"},
        {600, std::nullopt, 0, "00:"},  {0, 1000, 1599, "00:0"},
        {0, 1000, 1600, "00:"},         {590, 1000, 1010, "00:"},
        {3599, std::nullopt, 0, "00:"}, {0, 1000, 4600, "0"},
        {35999, std::nullopt, 0, "0"},  {36000, std::nullopt, 0, ""},
        {100, 1000, 500, "00:0"}, // a start after the entry counts nothing
        {-50, std::nullopt, 0, "00:0"},
    };
    for (const PrefixCase &c : cases) {
        EXPECT_EQ(stopwatchTimerPrefix(StopwatchState{c.accumulated, c.startedAt}, c.date).toStdString(), c.prefix)
            << c.accumulated << " at " << c.date;
    }
}

TEST(WidgetViewProperties, ClockGetsTodaysTexts)
{
    const Instant at = instantAt(2026, 10, 1, 9, 5) + 3;
    const QVariantMap properties = widgetViewProperties(ClockWidgetEntry{at, false});
    EXPECT_EQ(properties.value("dateText").toString(), QStringLiteral("2026-10-01"));
    EXPECT_EQ(properties.value("subtitle").toString(), QStringLiteral("丙午年八月廿一 星期四"));
    EXPECT_FALSE(properties.value("isGalleryPreview").toBool());
}

TEST(WidgetViewProperties, CalendarShowsOnlyTheMonthsDaysAndMarksToday)
{
    const Instant today = instantAt(2026, 10, 1, 9, 5);
    const QVariantMap october =
        widgetViewProperties(CalendarWidgetEntry{today, TovikCalendarGrid::make(today, today), false});
    const QStringList days = october.value("dayNumbers").toStringList();
    ASSERT_EQ(days.size(), 42);
    // 1 October 2026 is a Thursday: three blank cells of September before it, blanks after the 31st.
    EXPECT_EQ(days.mid(0, 5), (QStringList{"", "", "", "1", "2"}));
    EXPECT_EQ(days.at(33), QStringLiteral("31"));
    EXPECT_EQ(days.at(34), QString());
    EXPECT_EQ(october.value("todayIndex").toInt(), 3);
    EXPECT_EQ(october.value("weekRowCount").toInt(), 5);
    EXPECT_EQ(october.value("monthName").toString(), QStringLiteral("10月"));
    EXPECT_EQ(october.value("yearText").toString(), QStringLiteral("2026年"));
    EXPECT_EQ(october.value("weekdayTitles").toStringList().first(), QStringLiteral("周一"));
    EXPECT_EQ(october.value("todayColor").value<QColor>(), QColor::fromRgbF(0.87, 0.19, 0.39));

    // February 2027 starts on a Monday and fills four rows; a grid made for another month has no today.
    const Instant february = instantAt(2027, 2, 10);
    const QVariantMap other =
        widgetViewProperties(CalendarWidgetEntry{february, TovikCalendarGrid::make(february, today), true});
    EXPECT_EQ(other.value("weekRowCount").toInt(), 4);
    EXPECT_EQ(other.value("todayIndex").toInt(), -1);
    EXPECT_EQ(other.value("dayNumbers").toStringList().at(27), QStringLiteral("28"));
    EXPECT_TRUE(other.value("isGalleryPreview").toBool());
}

// February 2026 (from a Sunday, so day d sits at position d + 5), today the 17th: the numbers carry the
// page's marks always; the captions come only with the lunar switch.
TEST(WidgetViewProperties, CalendarMarksDaysAsThePageDoesAndCaptionsThemWithTheSwitch)
{
    const Instant today = instantAt(2026, 2, 17, 10);
    const QColor white(Qt::white), cherry = QColor::fromRgbF(0.87, 0.19, 0.39), red(0xFF, 0x45, 0x3A),
                                   green(0x32, 0xD7, 0x4B), blue = QColor::fromRgbF(0.04, 0.52, 1.0);
    struct Case {
        int day;
        QColor number;
        const char *caption;
        QColor captionColour;
    };
    const Case cases[] = {
        {2, white, "十五", QColor::fromRgbF(1, 1, 1, 0.28f)},
        {4, white, "立春", blue},
        {10, white, "小年", red},
        {14, green, "上班", blue},
        {15, red, "春节", red},
        {17, cherry, "春节", red},
    };
    for (const bool showsLunar : {false, true}) {
        const QVariantMap february =
            widgetViewProperties(CalendarWidgetEntry{today, TovikCalendarGrid::make(today, today), false, showsLunar});
        const QVariantList colours = february.value("dayColors").toList();
        const QStringList captions = february.value("captions").toStringList();
        const QVariantList captionColours = february.value("captionColors").toList();
        ASSERT_EQ(colours.size(), 42);
        ASSERT_EQ(captions.size(), 42);
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.day << (showsLunar ? " lunar" : ""));
            EXPECT_EQ(colours.at(c.day + 5).value<QColor>().rgb(), c.number.rgb());
            EXPECT_EQ(captions.at(c.day + 5), showsLunar ? QString::fromUtf8(c.caption) : QString());
            if (showsLunar) {
                EXPECT_EQ(captionColours.at(c.day + 5).value<QColor>().rgb(), c.captionColour.rgb());
            }
        }
        EXPECT_EQ(captions.at(0), QString()) << "a neighbouring month's day stays blank";
    }
}

TEST(WidgetViewProperties, StopwatchCountsFromWhenItsElapsedTimeWasZero)
{
    const QVariantMap running = widgetViewProperties(StopwatchWidgetEntry{5100, StopwatchState{590, 5000}, false});
    EXPECT_TRUE(running.value("isRunning").toBool());
    EXPECT_EQ(running.value("timerStart").toDouble(), 4410.0);
    EXPECT_EQ(running.value("timerPrefix").toString(), QStringLiteral("00:"));
    EXPECT_EQ(running.value("elapsedText").toString(), QStringLiteral("00:11:30"));

    const QVariantMap paused =
        widgetViewProperties(StopwatchWidgetEntry{5100, StopwatchState{754, std::nullopt}, false});
    EXPECT_FALSE(paused.value("isRunning").toBool());
    EXPECT_EQ(paused.value("elapsedText").toString(), QStringLiteral("00:12:34"));
}

} // namespace
