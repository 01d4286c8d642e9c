// Shows the page in a window on the main window's dark background at two sizes and saves what it looks
// like (calendar-page-720x480.png, calendar-page-400x400.png in the build folder) for people to look at.
#include "CalendarTestSupport.h"
#include "DarkHostWindow.h"

#include <ClockCalendarFeature/CalendarViewController.h>

using namespace CalendarTestSupport;

namespace {

const QColor windowBackground(40, 40, 42);

void screenshot(QSize size)
{
    CalendarViewController controller;
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

TEST(CalendarPageScreenshotTest, TwoMonthsAt720x480)
{
    screenshot(QSize(720, 480));
}

TEST(CalendarPageScreenshotTest, OneMonthAt400x400)
{
    screenshot(QSize(400, 400));
}
