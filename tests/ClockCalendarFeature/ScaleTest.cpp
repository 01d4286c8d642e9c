// Icons of the tab strip are painted at the device pixel ratio they are shown at, never resampled from an
// image made for another one.
#include "AccessibleLookup.h"

#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/TovikColors.h>

#include <QImage>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double ratios[] = {1, 1.25, 1.5, 2, 3};

// How many pixels hold neither a fully opaque nor a fully clear value along the icon's left edge column:
// a resampled image blurs the rounded square's straight edge over two columns.
int softEdgePixels(const QImage &image, int column)
{
    int soft = 0;
    for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
        const int alpha = qAlpha(image.pixel(column, y));
        soft += alpha != 0 && alpha != 255;
    }
    return soft;
}

} // namespace

TEST(ScaleTest, TabIconsArePaintedAtEveryRatio)
{
    const QIcon icon = ClockCalendarViewController::tabIcon(
        QStringLiteral("calendar"), ClockCalendarViewController::tabColor(ClockCalendarTab::calendar));
    for (const double ratio : ratios) {
        const QPixmap pixmap = icon.pixmap(QSize(16, 16), ratio);
        const int pixels = int(std::lround(16 * ratio));
        EXPECT_EQ(pixmap.size(), QSize(pixels, pixels)) << ratio;
        EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        // The straight left edge of the square is one crisp column: opaque at column 0, nothing soft at 1.
        EXPECT_EQ(softEdgePixels(image, 1), 0) << ratio;
        EXPECT_EQ(qAlpha(image.pixel(0, pixels / 2)), 255) << ratio;
    }
}

TEST(ScaleTest, MiniWindowButtonIconIsPaintedAtEveryRatio)
{
    ClockCalendarViewController controller(
        {TovikClock::shared(), StopwatchStore(nullptr, "test.stopwatch"), nullptr, "test.tab"});
    const auto *button = findByAccessibleName<QAbstractButton>(*controller.view(), QStringLiteral("小窗显示"));
    ASSERT_TRUE(button);
    const QIcon icon = button->icon();
    const QSize side = button->iconSize();
    for (const double ratio : ratios) {
        const QPixmap pixmap = icon.pixmap(side, ratio);
        EXPECT_EQ(pixmap.size(), QSize(int(std::lround(side.width() * ratio)), int(std::lround(side.height() * ratio))))
            << ratio;
        EXPECT_DOUBLE_EQ(pixmap.devicePixelRatio(), ratio);
    }
}
