// The clock face as a widget: its texts, its two layouts, and the ticker that runs only while it is shown
// and flips the time with the second.
#include "TovikTestClock.h"

#include <ClockCalendarFeature/ClockFaceView.h>
#include <Platform/Ui/TovikViewTicker.h>

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The first and last pixel rows that hold painted text (y-down).
std::pair<int, int> paintedRows(QWidget &view)
{
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    int first = -1;
    int last = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0) {
                first = first < 0 ? y : first;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

} // namespace

TEST(ClockFaceView, TextsOfAnInstant)
{
    ClockFaceView view(TovikClock::shared(), ClockFaceView::Metrics::page());
    view.refresh(1754616615.75); // 2025-08-08 09:30:15.75 in Beijing, in a leap sixth month
    EXPECT_EQ(view.dateText(), QStringLiteral("2025-08-08"));
    EXPECT_EQ(view.timeText(), QStringLiteral("09:30:15"));
    EXPECT_EQ(view.lunarText(), QStringLiteral("乙巳年闰六月十五 星期五"));
}

TEST(ClockFaceView, LayoutSwitchAndDictatedSize)
{
    ClockFaceView view(TovikClock::shared(), ClockFaceView::Metrics::page());
    view.refresh(1771257600.0);
    view.show();
    view.resize(189, 300);
    EXPECT_FALSE(view.showsDateAndLunar());
    // Only the time is painted, centred.
    auto [top, bottom] = paintedRows(view);
    EXPECT_NEAR((top + bottom) / 2.0, 150, 8);
    EXPECT_LT(bottom - top, 60);

    view.resize(190, 100);
    EXPECT_TRUE(view.showsDateAndLunar());

    // A dictated size stacks the three lines at any size; the stack of S = 60 is 151.4 high, centred.
    view.resize(60, 40);
    view.setTimeFontSize(20);
    EXPECT_TRUE(view.showsDateAndLunar());
    view.resize(500, 300);
    view.setTimeFontSize(60);
    std::tie(top, bottom) = paintedRows(view);
    EXPECT_GE(top, 74);
    EXPECT_LE(bottom, 226);
    EXPECT_GT(bottom - top, 110);
}

TEST(ClockFaceView, TickerRunsOnlyWhileTheViewIsInItsWindow)
{
    QWidget window;
    auto *view = new ClockFaceView(TovikClock::shared(), ClockFaceView::Metrics::page(), &window);
    auto *ticker = view->findChild<TovikViewTicker *>();
    EXPECT_FALSE(ticker->isRunning());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(ticker->isRunning());

    // Hidden, as a tab switch does: stopped; shown again: refreshed at once and running.
    view->hide();
    EXPECT_FALSE(ticker->isRunning());
    view->refresh(0);
    view->show();
    EXPECT_TRUE(ticker->isRunning());
    EXPECT_NE(view->dateText(), QStringLiteral("1970-01-01"));

    // Taken out of the window altogether, and put back; the window hidden and shown.
    view->setParent(nullptr);
    EXPECT_FALSE(ticker->isRunning());
    view->setParent(&window);
    view->show();
    EXPECT_TRUE(ticker->isRunning());
    window.hide();
    EXPECT_FALSE(ticker->isRunning());
    window.show();
    EXPECT_TRUE(ticker->isRunning());

    view->refresh(0);
    QTRY_VERIFY_WITH_TIMEOUT(view->dateText() != QStringLiteral("1970-01-01"), 3000);
}

TEST(ClockFaceView, TicksAtTheNextWholeSecondOfTheWallClock)
{
    constexpr double eightOClock = 1771286400; // 2026-02-17 08:00:00 in Beijing
    TovikTestClock clock(eightOClock + 0.25);
    QWidget window;
    auto *view = new ClockFaceView(TovikClock::shared(), ClockFaceView::Metrics::page(), &window);
    auto *ticker = view->findChild<TovikViewTicker *>();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(view->timeText(), QStringLiteral("08:00:00"));
    EXPECT_EQ(view->dateText(), QStringLiteral("2026-02-17"));
    EXPECT_EQ(ticker->scheduledDelayMs(), 750);

    // The time set anew is shown at once, and the next tick is due at the next flip.
    clock.setNow(eightOClock + 1.9990234375);
    EXPECT_EQ(view->timeText(), QStringLiteral("08:00:01"));
    EXPECT_EQ(ticker->scheduledDelayMs(), 1);
    clock.setNow(eightOClock + 2);
    EXPECT_EQ(view->timeText(), QStringLiteral("08:00:02"));
    EXPECT_EQ(ticker->scheduledDelayMs(), 1000);

    // Running on its own, the timer itself brings the flip, just after the second.
    clock.runFrom(eightOClock + 3.95);
    EXPECT_EQ(view->timeText(), QStringLiteral("08:00:03"));
    QTRY_COMPARE(view->timeText(), QStringLiteral("08:00:04"));
    EXPECT_GE(ticker->scheduledDelayMs(), 900);
}
