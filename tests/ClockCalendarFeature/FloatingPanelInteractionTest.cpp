// The views a floating panel must leave their own clicks and drags to, asked as the panel's chrome asks.
#include <ClockCalendarFeature/CalendarDayCell.h>
#include <ClockCalendarFeature/CalendarView.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/FloatingPanelInteractiveView.h>

#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FloatingPanelInteraction, dayCellsAndTheStopwatchKeepTheirClicksOtherViewsMoveThePanel)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const StopwatchStore store(TovikSettingsStore::open(folder.filePath("suite.sqlite3").toStdString()),
                               "test.stopwatch");
    const CalendarDayCell cell;
    const StopwatchView stopwatch(TovikClock::shared(), store, false);
    const StopwatchView stopwatchWithControls(TovikClock::shared(), store, true);
    const ClockFaceView clockFace(TovikClock::shared(), ClockFaceView::Metrics::page());
    const CalendarView monthView(TovikClock::shared());
    const QLabel label;

    EXPECT_TRUE(isFloatingPanelInteractive(&cell));
    EXPECT_TRUE(isFloatingPanelInteractive(&stopwatch));
    EXPECT_TRUE(isFloatingPanelInteractive(&stopwatchWithControls));
    EXPECT_FALSE(isFloatingPanelInteractive(&clockFace));
    EXPECT_FALSE(isFloatingPanelInteractive(&monthView)) << "a drag on the month view outside a cell moves the panel";
    EXPECT_FALSE(isFloatingPanelInteractive(&label));
    EXPECT_FALSE(isFloatingPanelInteractive(nullptr));
}
