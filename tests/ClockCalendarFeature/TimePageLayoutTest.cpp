// The time page's geometry: the inset, the fit box and the centred stopwatch block.
#include "TimePageLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double controlsHeight = 62;

} // namespace

TEST(TimePageLayout, InsetAndFitBoxOfA560By360Page)
{
    QSizeF asked;
    double maximum = 0;
    double minimum = 0;
    const auto frames = TimePageLayout::layout(QSizeF(560, 360), controlsHeight, [&](QSizeF box, double max, double min) {
        asked = box;
        maximum = max;
        minimum = min;
        return 60.0;
    });
    ASSERT_TRUE(frames);
    EXPECT_EQ(frames->content, QRectF(14, 8, 532, 344));
    EXPECT_EQ(asked.width(), 532);
    EXPECT_DOUBLE_EQ(asked.height(), 344 / 2.6);
    EXPECT_DOUBLE_EQ(asked.height() * 0.78, 103.2); // the height bound of the page
    EXPECT_EQ(maximum, 110);
    EXPECT_EQ(minimum, 18);
    EXPECT_EQ(frames->timeFontSize, 60);
    // 5.4 x 60 wide, ceil(69) + 62 high, centred in the inset page.
    EXPECT_EQ(frames->stopwatch, QRectF(14 + 266 - 162, 8 + 172 - 65.5, 324, 131));
}

TEST(TimePageLayout, StopwatchBlockBounds)
{
    const QRectF content(14, 8, 532, 344);
    struct Case {
        double size;
        QSizeF block;
    };
    const Case cases[] = {
        {18, {120, 90}},        // floor size: max(ceil(20.7), 28) + 62 high, never narrower than 120
        {22.3, {120.42, 90}},     // ceil(25.645) = 26 < 28
        {103.2, {532, 119 + 62}}, // 5.4 x 103.2 = 557.28, held to the page's width
        {24.5, {132.3, 29 + 62}},
    };
    for (const Case &c : cases) {
        const QRectF block = TimePageLayout::stopwatchFrame(content, c.size, controlsHeight);
        EXPECT_NEAR(block.width(), c.block.width(), 1e-9) << c.size;
        EXPECT_EQ(block.height(), c.block.height()) << c.size;
        EXPECT_DOUBLE_EQ(block.center().x(), content.center().x());
        EXPECT_DOUBLE_EQ(block.center().y(), content.center().y());
    }
    // An inset page narrower than 120 gives the block its own width.
    EXPECT_EQ(TimePageLayout::stopwatchFrame(QRectF(14, 8, 80, 300), 18, controlsHeight).width(), 80);
}

TEST(TimePageLayout, TooSmallPagesKeepTheirLayout)
{
    int fits = 0;
    const auto fit = [&](QSizeF, double, double) {
        ++fits;
        return 18.0;
    };
    EXPECT_FALSE(TimePageLayout::layout(QSizeF(29, 300), controlsHeight, fit));
    EXPECT_FALSE(TimePageLayout::layout(QSizeF(300, 17), controlsHeight, fit));
    EXPECT_EQ(fits, 0);
    EXPECT_TRUE(TimePageLayout::layout(QSizeF(29.5, 17.5), controlsHeight, fit));
}
