// The clock face as a widget: its texts, its two layouts, and the ticker that runs only while it is shown.
#include "ClockFaceView.h"

#include "TovikViewTicker.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TovikViewTicker *tickerOf(QWidget *view)
{
    return view->findChild<TovikViewTicker *>(QString(), Qt::FindDirectChildrenOnly);
}

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
    struct Case {
        Instant instant;
        const char *date;
        const char *time;
        const char *lunar;
    };
    const Case cases[] = {
        {1771257600.0, "2026-02-17", "00:00:00", "丙午年正月初一 星期二"},
        {1754616615.75, "2025-08-08", "09:30:15", "乙巳年闰六月十五 星期五"},
    };
    ClockFaceView view(ClockFaceView::Metrics::page());
    for (const Case &c : cases) {
        view.refresh(c.instant);
        EXPECT_EQ(view.dateText().toStdString(), c.date);
        EXPECT_EQ(view.timeText().toStdString(), c.time);
        EXPECT_EQ(view.lunarText().toStdString(), c.lunar);
    }
}

TEST(ClockFaceView, ShowsTheTimeAloneUntil190By100)
{
    ClockFaceView view(ClockFaceView::Metrics::page());
    view.show();
    view.resize(189, 300);
    EXPECT_FALSE(view.showsDateAndLunar());
    view.refresh(1771257600.0);
    // Only the time is painted, centred: its rows sit around the middle of the view.
    const auto [top, bottom] = paintedRows(view);
    ASSERT_GE(top, 0);
    EXPECT_NEAR((top + bottom) / 2.0, 150, 8);
    EXPECT_LT(bottom - top, 60);

    view.resize(190, 100);
    EXPECT_TRUE(view.showsDateAndLunar());
    EXPECT_GE(view.clockFontSize(), 12);
}

TEST(ClockFaceView, DictatedSizeStacksAtAnySize)
{
    ClockFaceView view(ClockFaceView::Metrics::page());
    view.show();
    view.resize(60, 40);
    EXPECT_FALSE(view.showsDateAndLunar());
    view.setTimeFontSize(20);
    EXPECT_TRUE(view.showsDateAndLunar());
    EXPECT_EQ(view.clockFontSize(), 20);
    view.setTimeFontSize(std::nullopt);
    EXPECT_FALSE(view.showsDateAndLunar());

    // The stack spans the three lines: date on top, lunar below, all painted inside the view.
    view.resize(500, 300);
    view.setTimeFontSize(60);
    view.refresh(1771257600.0);
    const auto [top, bottom] = paintedRows(view);
    EXPECT_GE(top, 150 - 76);
    EXPECT_LE(bottom, 150 + 76);
    EXPECT_GT(bottom - top, 110);
}

TEST(ClockFaceView, TickerRunsOnlyWhileTheViewIsInItsWindow)
{
    QWidget window;
    window.resize(400, 300);
    auto *view = new ClockFaceView(ClockFaceView::Metrics::page(), &window);
    view->resize(400, 300);
    TovikViewTicker *ticker = tickerOf(view);
    ASSERT_NE(ticker, nullptr);
    EXPECT_FALSE(ticker->isRunning());

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(ticker->isRunning());

    // Leaving the window (hidden, as a tab switch does) stops it; coming back refreshes at once.
    view->hide();
    EXPECT_FALSE(ticker->isRunning());
    view->refresh(0);
    EXPECT_EQ(view->dateText(), QStringLiteral("1970-01-01"));
    view->show();
    EXPECT_TRUE(ticker->isRunning());
    EXPECT_NE(view->dateText(), QStringLiteral("1970-01-01"));

    // Taken out of the window altogether, and put back.
    view->setParent(nullptr);
    EXPECT_FALSE(ticker->isRunning());
    view->setParent(&window);
    view->show();
    EXPECT_TRUE(ticker->isRunning());

    window.hide();
    EXPECT_FALSE(ticker->isRunning());
    window.show();
    EXPECT_TRUE(ticker->isRunning());

    // Ticks keep the time moving.
    view->refresh(0);
    QTRY_VERIFY_WITH_TIMEOUT(view->dateText() != QStringLiteral("1970-01-01"), 3000);
}
