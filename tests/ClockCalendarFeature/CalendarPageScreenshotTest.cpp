// Shows the page in a window on the main window's dark background at two sizes and saves what it looks
// like (calendar-page-720x480.png, calendar-page-400x400.png in the build folder) for people to look at;
// and December 2026 with January 2027 under lunar captions (calendar-page-lunar-720x480.png).
#include "CalendarTestSupport.h"
#include "DarkHostWindow.h"

#include <ClockCalendarFeature/CalendarLunarSetting.h>
#include <ClockCalendarFeature/CalendarViewController.h>
#include <Platform/Ui/TovikClock.h>

using namespace CalendarTestSupport;

namespace {

const QColor windowBackground(40, 40, 42);

void screenshot(QSize size)
{
    CalendarViewController controller{TovikClock::shared()};
    DarkHostWindow window(controller.view());
    window.resize(size);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.view()->size() == size; }));

    CalendarView &current = *controller.currentMonthView();
    CalendarView &next = *controller.nextMonthView();
    current.setDisplayedMonth(day(2026, 2, 1), true);
    current.updateMonth(at(2026, 2, 10, 9, 0));
    next.updateMonth(at(2026, 2, 10, 9, 0));
    // A run over a makeup workday into the Spring Festival, so fill, captions and count all show.
    press(current, centreOf(current, day(2026, 2, 12)));
    moveTo(current, centreOf(current, day(2026, 2, 17)));
    release(current, centreOf(current, day(2026, 2, 17)));

    const QImage image = window.grab().toImage();
    const QString path =
        QStringLiteral(DAYVANE_SCREENSHOT_DIR "/calendar-page-%1x%2.png").arg(size.width()).arg(size.height());
    ASSERT_TRUE(image.save(path));
    EXPECT_EQ(image.size(), size * window.devicePixelRatio());
    EXPECT_EQ(image.pixelColor(1, 1).rgb(), windowBackground.rgb());
    // Inside the selection, between the number and the cell's edge: the blue fill over the background.
    const QRectF cell = current.dayCellFrame(positionOf(current, day(2026, 2, 16)));
    const QPoint inFill = current.mapTo(&window, QPoint(int(cell.left()) + 3, int(cell.center().y())));
    const QColor fill = image.pixelColor(inFill * window.devicePixelRatio());
    EXPECT_GT(fill.blue(), fill.red() + 30);
}

} // namespace

TEST(CalendarPageScreenshotTest, LunarCaptionsInDecemberAndJanuary)
{
    CalendarLunarSetting::shared().setShowsLunar(true);
    CalendarViewController controller{TovikClock::shared()};
    DarkHostWindow window(controller.view());
    const QSize size(720, 480);
    window.resize(size);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.view()->size() == size; }));
    CalendarView &current = *controller.currentMonthView();
    current.setDisplayedMonth(day(2026, 12, 1), true);
    current.updateMonth(at(2026, 12, 10, 9, 0));
    controller.nextMonthView()->updateMonth(at(2026, 12, 10, 9, 0));

    const QImage image = window.grab().toImage();
    ASSERT_TRUE(image.save(QStringLiteral(DAYVANE_SCREENSHOT_DIR "/calendar-page-lunar-720x480.png")));
    // Under the number of 22 December (冬至), the caption is drawn in the blue accent.
    const QRect cell = current.dayCellFrame(positionOf(current, day(2026, 12, 22))).toRect();
    const QRect caption(current.mapTo(&window, QPoint(cell.left(), cell.center().y() + 4)),
                        QSize(cell.width(), cell.height() / 2 - 4));
    bool blueInk = false;
    for (int y = caption.top(); y <= caption.bottom() && !blueInk; ++y) {
        for (int x = caption.left(); x <= caption.right() && !blueInk; ++x) {
            const QColor ink = image.pixelColor(QPoint(x, y) * window.devicePixelRatio());
            blueInk = ink.blue() > 150 && ink.red() < 100;
        }
    }
    EXPECT_TRUE(blueInk);
    CalendarLunarSetting::shared().setShowsLunar(false);
}

TEST(CalendarPageScreenshotTest, TwoMonthsAt720x480)
{
    screenshot(QSize(720, 480));
}

TEST(CalendarPageScreenshotTest, OneMonthAt400x400)
{
    screenshot(QSize(400, 400));
}
