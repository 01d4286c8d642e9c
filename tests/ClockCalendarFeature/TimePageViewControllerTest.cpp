// The two time pages: what each puts into its view, the one font size they impose, and their lifetimes.
#include "TimePageViewController.h"

#include "ClockFaceView.h"
#include "StopwatchView.h"
#include "TimeFontFitting.h"
#include "TovikLayoutView.h"
#include "TovikSettingsStore.h"
#include "TovikViewTicker.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

class TimePageTest : public ::testing::Test {
protected:
    StopwatchStore store() const
    {
        return StopwatchStore(TovikSettingsStore::open((m_folder.path() + "/suite.sqlite3").toStdString()),
                              "dayvane.stopwatch");
    }
    QTemporaryDir m_folder;
};

double fontPixels(const QFont &font)
{
    return font.pointSizeF() * 96.0 / 72.0;
}

} // namespace

TEST_F(TimePageTest, ClockPageShowsTheClockFaceFittedToThePage)
{
    TimePageViewController page(TimePageViewController::Clock{});
    QWidget *root = page.view();
    ASSERT_NE(qobject_cast<TovikLayoutView *>(root), nullptr);
    EXPECT_EQ(page.stopwatchView(), nullptr);
    ASSERT_NE(page.clockFace(), nullptr);
    EXPECT_EQ(page.clockFace()->parentWidget(), root);

    root->show();
    root->resize(560, 360);
    const double expected = TimeFontFitting::fittedSize(QSizeF(532, 344 / 2.6), QStringLiteral("00:00:00"), 110, 18);
    EXPECT_LE(expected, 103.2);
    EXPECT_EQ(page.clockFace()->timeFontSize(), expected);
    EXPECT_EQ(page.clockFace()->geometry(), QRect(14, 8, 532, 344));
    EXPECT_TRUE(page.clockFace()->showsDateAndLunar());

    // Small pages keep the three lines, since the page dictates the size.
    root->resize(60, 80);
    EXPECT_EQ(page.clockFace()->timeFontSize(), 18);
    EXPECT_TRUE(page.clockFace()->showsDateAndLunar());
    // A page with an inset of a point or less keeps what it had.
    root->resize(29, 300);
    EXPECT_EQ(page.clockFace()->geometry(), QRect(14, 8, 32, 64));
}

TEST_F(TimePageTest, StopwatchPageCentresTheStopwatchAtTheSameSize)
{
    TimePageViewController clockPage(TimePageViewController::Clock{});
    TimePageViewController page(TimePageViewController::Stopwatch{store()});
    EXPECT_EQ(page.stopwatchView(), nullptr);
    QWidget *root = page.view();
    ASSERT_NE(page.stopwatchView(), nullptr);
    EXPECT_EQ(page.stopwatchView()->parentWidget(), root);
    EXPECT_NE(page.stopwatchView()->toggleButton(), nullptr);
    // The clock face exists but stays out of the view tree.
    ASSERT_NE(page.clockFace(), nullptr);
    EXPECT_EQ(page.clockFace()->parentWidget(), nullptr);

    root->show();
    clockPage.view()->show();
    for (const QSize size : {QSize(560, 360), QSize(900, 300), QSize(300, 700), QSize(140, 200)}) {
        root->resize(size);
        clockPage.view()->resize(size);
        const double s = *clockPage.clockFace()->timeFontSize();
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        EXPECT_NEAR(fontPixels(page.stopwatchView()->label()->font()), s, 1e-6);
        EXPECT_EQ(page.stopwatchView()->label()->font().weight(), QFont::DemiBold);
        const QRectF content(14, 8, size.width() - 28, size.height() - 16);
        const double width = std::min(std::max(5.4 * s, 120.0), content.width());
        const double height = std::max(std::ceil(1.15 * s), 28.0) + 62;
        const QRect frame = page.stopwatchView()->geometry();
        EXPECT_NEAR(frame.width(), width, 1);
        EXPECT_EQ(frame.height(), height);
        EXPECT_NEAR(frame.center().x() + 0.5, size.width() / 2.0, 1);
        EXPECT_NEAR(frame.center().y() + 0.5, size.height() / 2.0, 1);
    }
}

TEST_F(TimePageTest, HidingThePageStopsItsTicker)
{
    TimePageViewController page(TimePageViewController::Stopwatch{store()});
    QWidget window;
    page.view()->setParent(&window);
    page.view()->resize(560, 360);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto *ticker = page.stopwatchView()->findChild<TovikViewTicker *>();
    EXPECT_TRUE(ticker->isRunning());
    page.view()->hide();
    EXPECT_FALSE(ticker->isRunning());
    page.view()->show();
    EXPECT_TRUE(ticker->isRunning());
    // The clock face of a stopwatch page is never shown, so it never ticks.
    EXPECT_FALSE(page.clockFace()->findChild<TovikViewTicker *>()->isRunning());
}

TEST_F(TimePageTest, EveryOwnershipOrderEndsCleanly)
{
    // The controller goes first, with or without a loaded view.
    for (const bool stopwatch : {false, true}) {
        for (const bool load : {false, true}) {
            QPointer<ClockFaceView> face;
            {
                const auto content = stopwatch ? TimePageViewController::Content(TimePageViewController::Stopwatch{store()})
                                               : TimePageViewController::Content(TimePageViewController::Clock{});
                TimePageViewController page(content);
                face = page.clockFace();
                if (load) {
                    page.view();
                }
            }
            EXPECT_TRUE(face.isNull());
        }
    }
    // The container that holds the page's view goes first.
    for (const bool stopwatch : {false, true}) {
        const auto content = stopwatch ? TimePageViewController::Content(TimePageViewController::Stopwatch{store()})
                                       : TimePageViewController::Content(TimePageViewController::Clock{});
        auto page = std::make_unique<TimePageViewController>(content);
        QPointer<ClockFaceView> face = page->clockFace();
        auto container = std::make_unique<QWidget>();
        page->view()->setParent(container.get());
        container.reset();
        EXPECT_EQ(face.isNull(), !stopwatch);
        page.reset();
        EXPECT_TRUE(face.isNull());
    }
}
