// A change of the host zone while the pages are shown: at their next tick the clock, the calendar's today
// mark and the stopwatch all follow the same zone, and the calendar keeps showing the same civil month.
#include "CalendarTestSupport.h"
#include "TovikTestClock.h"

#include <ClockCalendarFeature/CalendarViewController.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikViewTicker.h>

#include <QHBoxLayout>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>

using namespace CalendarTestSupport;

namespace {

void setZone(const char *zone)
{
    setenv("TZ", zone, 1);
    tzset();
}

} // namespace

TEST(TimeZoneChange, EveryPageFollowsTheNewZoneAtItsNextTick)
{
    constexpr double instant = 1773185400; // 2026-03-10 23:30:00 UTC
    TovikTestClock clock(instant);
    QTemporaryDir folder;
    const StopwatchStore store(TovikSettingsStore::open(folder.filePath("suite.sqlite3").toStdString()),
                               "test.stopwatch");
    store.save({0, instant - 90});

    QWidget window;
    auto *layout = new QHBoxLayout(&window);
    auto *clockFace = new ClockFaceView(TovikClock::shared(), ClockFaceView::Metrics::page());
    auto *stopwatch = new StopwatchView(TovikClock::shared(), store, true);
    CalendarViewController calendar{TovikClock::shared()};
    layout->addWidget(clockFace);
    layout->addWidget(stopwatch);
    layout->addWidget(calendar.view());
    window.resize(1400, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Beijing: Wednesday morning, 11 March.
    EXPECT_EQ(clockFace->dateText(), QStringLiteral("2026-03-11"));
    EXPECT_EQ(clockFace->timeText(), QStringLiteral("07:30:00"));
    EXPECT_EQ(todayMarks(calendar), std::set<int>{11});
    EXPECT_EQ(stopwatch->label()->text(), QStringLiteral("00:01:30"));

    // The host moves to Los Angeles; the next tick comes a second later.
    setZone("America/Los_Angeles");
    clock.setNow(instant + 1);
    EXPECT_EQ(clockFace->dateText(), QStringLiteral("2026-03-10"));
    EXPECT_EQ(clockFace->timeText(), QStringLiteral("16:30:01"));
    EXPECT_EQ(clockFace->lunarText(), QStringLiteral("丙午年正月廿二 星期二"));
    EXPECT_EQ(todayMarks(calendar), std::set<int>{10});
    EXPECT_EQ(stopwatch->label()->text(), QStringLiteral("00:01:31"));

    // The same civil months, with their days at the new zone's midnights and holidays by civil date.
    CalendarView *current = calendar.currentMonthView();
    CalendarView *next = calendar.nextMonthView();
    EXPECT_EQ(current->monthTitle(), QStringLiteral("3月 2026年"));
    EXPECT_EQ(next->monthTitle(), QStringLiteral("4月 2026年"));
    const int march10 = positionOf(*current, day(2026, 3, 10));
    ASSERT_GE(march10, 0);
    EXPECT_TRUE(current->dayCell(march10)->isTodayDay());
    EXPECT_EQ(current->gridCells()[march10].date, instant - 16.5 * 3600);
    const int april5 = positionOf(*next, day(2026, 4, 5));
    ASSERT_GE(april5, 0);
    EXPECT_EQ(next->dayCell(april5)->captionText(), QStringLiteral("清明节"));

    // And its midnight is the new zone's: 7 h 29 min 59 s away.
    const auto *dayCheck = calendar.view()->findChild<TovikViewTicker *>();
    ASSERT_NE(dayCheck, nullptr);
    EXPECT_EQ(dayCheck->scheduledDelayMs(), (7 * 3600 + 29 * 60 + 59) * 1000);

    setZone("Asia/Shanghai");
    clock.setNow(instant + 2);
    EXPECT_EQ(clockFace->timeText(), QStringLiteral("07:30:02"));
    EXPECT_EQ(todayMarks(calendar), std::set<int>{11});
}
