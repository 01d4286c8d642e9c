// Shows the clock page and the stopwatch page (running and paused) at 720x452 on the main window's dark
// background and saves what they look like (time-page-*.png in the build folder) for people to look at.
#include "DarkHostWindow.h"
#include "StopwatchLookup.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarFeature/ClockFaceView.h>
#include <ClockCalendarFeature/StopwatchView.h>
#include <ClockCalendarFeature/TimePageViewController.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>

#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QColor windowBackground(40, 40, 42);
const QSize pageSize(720, 452);

struct Shot {
    QImage image;
    qreal ratio = 1;
};

Shot screenshot(TimePageViewController &page, const QString &name, const std::function<void()> &pin)
{
    DarkHostWindow window(page.view());
    window.resize(pageSize);
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return page.view()->size() == pageSize; }));
    pin();
    Shot shot{window.grab().toImage(), window.devicePixelRatio()};
    EXPECT_TRUE(shot.image.save(QStringLiteral(DAYVANE_SCREENSHOT_DIR "/time-page-%1.png").arg(name)));
    page.view()->setParent(nullptr);
    return shot;
}

QColor pixel(const Shot &shot, QPointF at)
{
    return shot.image.pixelColor((at * shot.ratio).toPoint());
}

// The first and last rows of the image with a pixel clearly brighter than the background.
std::pair<int, int> textRows(const QImage &image)
{
    std::pair<int, int> rows{-1, -1};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).lightness() > 120) {
                rows = {rows.first < 0 ? y : rows.first, y};
                break;
            }
        }
    }
    return rows;
}

class TimePageScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override { ClockCalendarAccessibility::install(); }

    StopwatchStore store() const
    {
        return StopwatchStore(TovikSettingsStore::open((m_folder.path() + "/suite.sqlite3").toStdString()),
                              "dayvane.stopwatch");
    }
    QTemporaryDir m_folder;
};

} // namespace

TEST_F(TimePageScreenshotTest, ClockPage)
{
    TimePageViewController page(TovikClock::shared(), TimePageViewController::Clock{});
    const Shot shot = screenshot(page, QStringLiteral("clock"),
                                 [&page] { page.view()->findChild<ClockFaceView *>()->refresh(1771299045.0); });
    EXPECT_EQ(pixel(shot, {2, 2}).rgb(), windowBackground.rgb());
    // The three lines sit together around the middle of the page.
    const auto [top, bottom] = textRows(shot.image);
    EXPECT_NEAR((top + bottom) / 2.0 / shot.ratio, pageSize.height() / 2.0, 12);
    EXPECT_GT((bottom - top) / shot.ratio, 150);
}

TEST_F(TimePageScreenshotTest, StopwatchRunningAndPaused)
{
    TimePageViewController page(TovikClock::shared(), TimePageViewController::Stopwatch{store()});
    StopwatchView *stopwatch = stopwatchDisplay(*page.view());
    ASSERT_TRUE(stopwatch);
    for (const bool running : {true, false}) {
        store().save(running ? StopwatchState{3725, currentInstant() - 2} : StopwatchState{3725.9, std::nullopt});
        const QString name = running ? QStringLiteral("stopwatch-running") : QStringLiteral("stopwatch-paused");
        const Shot shot = screenshot(page, name, [stopwatch] { stopwatch->refresh(); });
        StopwatchView &view = *stopwatch;
        const QRect toggle = stopwatchToggleButton(view)->geometry().translated(view.pos());
        const QRect reset = stopwatchResetButton(view)->geometry().translated(view.pos());
        // The buttons stand side by side, centred under the digits.
        EXPECT_NEAR((toggle.center().x() + reset.center().x() + 1) / 2.0, pageSize.width() / 2.0, 1);
        const QColor disc = pixel(shot, QPointF(toggle.center().x(), toggle.top() + 3));
        EXPECT_GT(disc.blue(), 200);
        EXPECT_LT(disc.red(), 60);
        // Running digits are cyan; paused ones a dimmed white.
        bool cyan = false;
        const QRect digits = view.label()->geometry().translated(view.pos());
        for (int x = digits.left(); x < digits.right() && !cyan; ++x) {
            const QColor c = pixel(shot, QPointF(x, digits.center().y()));
            cyan = c.green() > 200 && c.blue() > 200 && c.red() < 100;
        }
        EXPECT_EQ(cyan, running);
    }
}
