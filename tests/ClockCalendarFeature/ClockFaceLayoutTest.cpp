// The clock face's y-up geometry: the three-line stack, the time-only layout and the switch between them.
#include "ClockFaceLayout.h"

#include <gtest/gtest.h>

namespace {

// A fit that records what it was asked and answers a fixed size.
struct FakeFit {
    double answer = 40;
    QSizeF size;
    double maximum = 0;
    double minimum = 0;
    int calls = 0;
    ClockFaceLayout::Fit fit()
    {
        return [this](QSizeF s, double max, double min) {
            size = s;
            maximum = max;
            minimum = min;
            ++calls;
            return answer;
        };
    }
};

} // namespace

TEST(ClockFaceLayout, PageStackOfTheWorkedExample)
{
    const QRectF bounds(0, 0, 500, 300);
    const auto frames = ClockFaceLayout::stack(bounds, 60, ClockFaceMetrics::page());
    EXPECT_TRUE(frames.showsDateAndLunar);
    EXPECT_DOUBLE_EQ(frames.dateFontSize, 30);
    EXPECT_DOUBLE_EQ(frames.lunarFontSize, 25.2);
    EXPECT_EQ(frames.date.height(), 36);
    EXPECT_EQ(frames.clock.height(), 69);
    EXPECT_EQ(frames.lunar.height(), 32);
    // total 151.4 centred on y = 150: top 225.7
    EXPECT_DOUBLE_EQ(frames.date.top() + frames.date.height(), 225.7);
    EXPECT_DOUBLE_EQ(frames.date.y(), 189.7);
    EXPECT_DOUBLE_EQ(frames.clock.y(), 189.7 - 7.2 - 69);
    EXPECT_DOUBLE_EQ(frames.lunar.y(), 189.7 - 7.2 - 69 - 7.2 - 32);
    EXPECT_NEAR(frames.lunar.y(), 150 - 151.4 / 2, 1e-9);
    for (const QRectF &line : {frames.date, frames.clock, frames.lunar}) {
        EXPECT_EQ(line.x(), 0);
        EXPECT_EQ(line.width(), 500);
    }
}

TEST(ClockFaceLayout, MinimumsAndCompactMetrics)
{
    // Page metrics at a small size: every minimum takes over.
    const auto small = ClockFaceLayout::stack(QRectF(10, 20, 100, 100), 10, ClockFaceMetrics::page());
    EXPECT_EQ(small.dateFontSize, 11);
    EXPECT_EQ(small.lunarFontSize, 10);
    EXPECT_EQ(small.date.height(), 14);  // ceil(13.2)
    EXPECT_EQ(small.clock.height(), 28); // clockMinimumHeight
    EXPECT_EQ(small.lunar.height(), 13); // ceil(12.5)
    EXPECT_EQ(small.clock.y() + small.clock.height(), small.date.y() - 4);
    EXPECT_EQ(small.date.x(), 10);

    // Compact metrics have no minimum clock height: ceil(1.08 S) however small S is.
    const auto compact = ClockFaceLayout::stack(QRectF(0, 0, 100, 100), 5, ClockFaceMetrics::compact());
    EXPECT_EQ(compact.clock.height(), 6);
    EXPECT_EQ(compact.dateFontSize, 9);
    EXPECT_EQ(compact.lunarFontSize, 8);
    EXPECT_EQ(compact.date.height(), 10); // ceil(9.72)
    EXPECT_EQ(compact.lunar.height(), 9); // ceil(8.96)
    EXPECT_EQ(compact.clock.y(), compact.lunar.y() + 9 + 1);
}

TEST(ClockFaceLayout, SwitchesToTheTimeAloneBelow190By100)
{
    struct Case {
        QSizeF size;
        bool stack;
    };
    const Case cases[] = {{{189, 300}, false}, {{190, 100}, true}, {{300, 99}, false}, {{190, 99.9}, false}};
    for (const Case &c : cases) {
        FakeFit fake;
        const auto frames =
            ClockFaceLayout::layout(QRectF(QPointF(), c.size), std::nullopt, ClockFaceMetrics::page(), fake.fit());
        ASSERT_TRUE(frames);
        EXPECT_EQ(frames->showsDateAndLunar, c.stack) << c.size.width() << "x" << c.size.height();
        EXPECT_EQ(fake.calls, 1);
    }
}

TEST(ClockFaceLayout, SelfFittedStackAsksForItsBounds)
{
    FakeFit fake;
    ClockFaceLayout::layout(QRectF(0, 0, 460, 300), std::nullopt, ClockFaceMetrics::page(), fake.fit());
    EXPECT_EQ(fake.size, QSizeF(460, 300));
    EXPECT_DOUBLE_EQ(fake.maximum, 100); // min(168, 460 / 4.6)
    EXPECT_EQ(fake.minimum, 12);
    ClockFaceLayout::layout(QRectF(0, 0, 200, 100), std::nullopt, ClockFaceMetrics::page(), fake.fit());
    EXPECT_DOUBLE_EQ(fake.maximum, 200 / 4.6);
}

TEST(ClockFaceLayout, TimeAloneIsCentredAndFitted)
{
    FakeFit fake;
    fake.answer = 30;
    const auto frames =
        ClockFaceLayout::layout(QRectF(0, 0, 150, 300), std::nullopt, ClockFaceMetrics::page(), fake.fit());
    ASSERT_TRUE(frames);
    EXPECT_DOUBLE_EQ(fake.maximum, 150 / 4.6);
    EXPECT_EQ(fake.minimum, 5);
    EXPECT_EQ(frames->clockFontSize, 30);
    EXPECT_EQ(frames->clock, QRectF(0, 150 - 35.0 / 2, 150, 35)); // ceil(34.8)

    // A tiny view: the maximum never drops below 6 and the line never outgrows the view.
    fake.answer = 5;
    const auto tiny = ClockFaceLayout::layout(QRectF(0, 0, 20, 6), std::nullopt, ClockFaceMetrics::page(), fake.fit());
    ASSERT_TRUE(tiny);
    EXPECT_EQ(fake.maximum, 6);
    EXPECT_EQ(tiny->clock, QRectF(0, 0, 20, 6));
}

TEST(ClockFaceLayout, DictatedSizeAlwaysStacksAndDegenerateBoundsKeepTheLayout)
{
    FakeFit fake;
    const auto dictated = ClockFaceLayout::layout(QRectF(0, 0, 20, 20), 60.0, ClockFaceMetrics::page(), fake.fit());
    ASSERT_TRUE(dictated);
    EXPECT_TRUE(dictated->showsDateAndLunar);
    EXPECT_EQ(dictated->clockFontSize, 60);
    EXPECT_EQ(fake.calls, 0);

    for (const QSizeF size : {QSizeF(1, 300), QSizeF(300, 1), QSizeF(0, 0)}) {
        EXPECT_FALSE(ClockFaceLayout::layout(QRectF(QPointF(), size), 60.0, ClockFaceMetrics::page(), fake.fit()));
        EXPECT_FALSE(
            ClockFaceLayout::layout(QRectF(QPointF(), size), std::nullopt, ClockFaceMetrics::page(), fake.fit()));
    }
}
