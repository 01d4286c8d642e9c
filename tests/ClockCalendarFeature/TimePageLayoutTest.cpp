// The time page's geometry: the inset, the fit box and the centred stopwatch block.
#include <ClockCalendarFeature/TimePageLayout.h>

#include <gtest/gtest.h>

#include <stdexcept>

TEST(TimePageLayout, WorkedExampleOfA560By360Page)
{
    QSizeF asked;
    const auto frames = TimePageLayout::layout(QSizeF(560, 360), 62, [&](QSizeF box, double maximum, double minimum) {
        asked = box;
        EXPECT_EQ(maximum, 110);
        EXPECT_EQ(minimum, 18);
        return 60.0;
    });
    ASSERT_TRUE(frames);
    EXPECT_EQ(frames->content, QRectF(14, 8, 532, 344));
    EXPECT_EQ(asked, QSizeF(532, 344 / 2.6));
    EXPECT_DOUBLE_EQ(asked.height() * 0.78, 103.2);
    // 5.4 x 60 wide, ceil(69) + 62 high, centred in the inset page.
    EXPECT_EQ(frames->stopwatch, QRectF(280 - 162, 180 - 65.5, 324, 131));
}

TEST(TimePageLayout, StopwatchBlockBounds)
{
    const QRectF content(14, 8, 532, 344);
    const std::pair<double, QSizeF> cases[] = {
        {18, {120, 90}},          // the floor size: max(ceil(20.7), 28) + 62 high, never narrower than 120
        {22.3, {120.42, 90}},     // ceil(25.645) = 26, still below 28
        {24.5, {132.3, 91}},      // ceil(28.175) = 29
        {103.2, {532, 119 + 62}}, // 5.4 x 103.2 = 557.28, held to the page's width
    };
    for (const auto &[size, block] : cases) {
        const QRectF frame = TimePageLayout::stopwatchFrame(content, size, 62);
        EXPECT_NEAR(frame.width(), block.width(), 1e-9) << size;
        EXPECT_EQ(frame.height(), block.height()) << size;
        EXPECT_EQ(frame.center(), content.center());
    }
    EXPECT_EQ(TimePageLayout::stopwatchFrame(QRectF(14, 8, 80, 300), 18, 62).width(), 80);

    // Pages whose inset is a point or less keep their layout and fit nothing.
    const auto fit = [](QSizeF, double, double) -> double { throw std::logic_error("no fit expected"); };
    EXPECT_FALSE(TimePageLayout::layout(QSizeF(29, 300), 62, fit));
    EXPECT_FALSE(TimePageLayout::layout(QSizeF(300, 17), 62, fit));
}
