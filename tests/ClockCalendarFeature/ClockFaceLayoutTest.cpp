// The clock face's y-up geometry: the three-line stack, the time-only layout and the switch between them.
#include <ClockCalendarFeature/ClockFaceLayout.h>

#include <gtest/gtest.h>

namespace {

struct Asked {
    QSizeF size;
    double maximum = 0;
    double minimum = 0;
    int calls = 0;
};

// A fit that records what it was asked and answers a fixed size.
ClockFaceLayout::Fit fixedFit(Asked &asked, double answer)
{
    return [&asked, answer](QSizeF size, double maximum, double minimum) {
        asked = {size, maximum, minimum, asked.calls + 1};
        return answer;
    };
}

} // namespace

TEST(ClockFaceLayout, StackOfTheWorkedExampleAndOfSmallSizes)
{
    // Page metrics, S = 60, in a 500 x 300 view: D 30, L 25.2, lines 36 / 69 / 32, gap 7.2, total 151.4.
    const auto frames = ClockFaceLayout::stack(QRectF(0, 0, 500, 300), 60, ClockFaceMetrics::page());
    EXPECT_DOUBLE_EQ(frames.dateFontSize, 30);
    EXPECT_DOUBLE_EQ(frames.lunarFontSize, 25.2);
    EXPECT_EQ(frames.date, QRectF(0, 150 + 151.4 / 2 - 36, 500, 36));
    EXPECT_EQ(frames.clock, QRectF(0, frames.date.y() - 7.2 - 69, 500, 69));
    EXPECT_EQ(frames.lunar, QRectF(0, frames.clock.y() - 7.2 - 32, 500, 32));
    EXPECT_NEAR(frames.lunar.y(), 150 - 151.4 / 2, 1e-9);

    // The minimums take over at a small size; compact metrics have no minimum clock height.
    const auto small = ClockFaceLayout::stack(QRectF(10, 20, 100, 100), 10, ClockFaceMetrics::page());
    EXPECT_EQ(small.dateFontSize, 11);
    EXPECT_EQ(small.lunarFontSize, 10);
    EXPECT_EQ(small.date.height(), 14);                                    // ceil(13.2)
    EXPECT_EQ(small.clock.height(), 28);                                   // the minimum clock height
    EXPECT_EQ(small.lunar.height(), 13);                                   // ceil(12.5)
    EXPECT_EQ(small.clock.y() + small.clock.height(), small.date.y() - 4); // y-up: the clock's top edge
    EXPECT_EQ(small.date.x(), 10);
    const auto compact = ClockFaceLayout::stack(QRectF(0, 0, 100, 100), 5, ClockFaceMetrics::compact());
    EXPECT_EQ(compact.clock.height(), 6); // ceil(5.4)
    EXPECT_EQ(compact.date.height(), 10); // ceil(9 x 1.08)
    EXPECT_EQ(compact.clock.y(), compact.lunar.y() + compact.lunar.height() + 1);
}

TEST(ClockFaceLayout, SwitchAndFitBoxes)
{
    struct Case {
        QSizeF size;
        bool stack;
        double maximum;
        double minimum;
    };
    const Case cases[] = {
        {{189, 300}, false, 189 / 4.6, 5},
        {{190, 100}, true, 190 / 4.6, 12},
        {{300, 99}, false, 300 / 4.6, 5},
        {{460, 300}, true, 100, 12},
        {{20, 6}, false, 6, 5},
    };
    for (const Case &c : cases) {
        Asked asked;
        const auto frames = ClockFaceLayout::layout(QRectF(QPointF(), c.size), std::nullopt, ClockFaceMetrics::page(),
                                                    fixedFit(asked, 30));
        ASSERT_TRUE(frames);
        EXPECT_EQ(frames->showsDateAndLunar, c.stack) << c.size.width() << "x" << c.size.height();
        EXPECT_EQ(asked.calls, 1);
        EXPECT_EQ(asked.size, c.size);
        EXPECT_DOUBLE_EQ(asked.maximum, c.maximum);
        EXPECT_EQ(asked.minimum, c.minimum);
        if (!c.stack) {
            // The time alone: ceil(1.16 S) high, at most the view's height, centred.
            const double height = std::min(35.0, c.size.height());
            EXPECT_EQ(frames->clock, QRectF(0, (c.size.height() - height) / 2, c.size.width(), height));
        }
    }
}

TEST(ClockFaceLayout, DictatedSizeAlwaysStacksAndDegenerateBoundsKeepTheLayout)
{
    Asked asked;
    const auto dictated =
        ClockFaceLayout::layout(QRectF(0, 0, 20, 20), 60.0, ClockFaceMetrics::page(), fixedFit(asked, 30));
    ASSERT_TRUE(dictated);
    EXPECT_TRUE(dictated->showsDateAndLunar);
    EXPECT_EQ(dictated->clockFontSize, 60);
    for (const QSizeF size : {QSizeF(1, 300), QSizeF(300, 1)}) {
        EXPECT_FALSE(
            ClockFaceLayout::layout(QRectF(QPointF(), size), 60.0, ClockFaceMetrics::page(), fixedFit(asked, 30)));
        EXPECT_FALSE(ClockFaceLayout::layout(QRectF(QPointF(), size), std::nullopt, ClockFaceMetrics::page(),
                                             fixedFit(asked, 30)));
    }
    EXPECT_EQ(asked.calls, 0);
}

TEST(ClockFaceLayout, AFaceThatFitsItselfKeepsAllThreeLinesInside)
{
    // The mini clock's face at its first size, a just-stacking face, and a tall one; a fit that answers its
    // maximum, as a wide box does.
    const QSizeF sizes[] = {{312, 114}, {190, 100}, {600, 120}, {460, 400}};
    const auto wide = [](QSizeF, double maximum, double) { return maximum; };
    for (const QSizeF size : sizes) {
        for (const ClockFaceMetrics &metrics : {ClockFaceMetrics::compact(), ClockFaceMetrics::page()}) {
            const QRectF bounds(QPointF(), size);
            const auto frames = ClockFaceLayout::layout(bounds, std::nullopt, metrics, wide);
            ASSERT_TRUE(frames);
            ASSERT_TRUE(frames->showsDateAndLunar);
            EXPECT_LE(frames->date.y() + frames->date.height(), size.height()) << size.width() << "x" << size.height();
            EXPECT_GE(frames->lunar.y(), 0) << size.width() << "x" << size.height();
            // Stepped down no further than needed.
            const auto larger = ClockFaceLayout::stack(bounds, frames->clockFontSize + 0.25, metrics);
            if (frames->clockFontSize < std::max(std::min(size.height() * 0.56, size.width() / 4.6), 14.0)) {
                EXPECT_GT(larger.date.y() + larger.date.height() - larger.lunar.y(), size.height());
            }
        }
    }
    // A dictated size is the owner's to choose, overhang and all.
    const auto dictated = ClockFaceLayout::layout(QRectF(0, 0, 312, 114), 80.0, ClockFaceMetrics::compact(), wide);
    EXPECT_EQ(dictated->clockFontSize, 80);
}
