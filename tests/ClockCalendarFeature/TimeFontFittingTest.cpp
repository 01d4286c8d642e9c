// The font fit against the plain search it stands for: every 0.25-point step tried from the top.
#include "TimeFontFitting.h"

#include "TovikFonts.h"

#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

const QString sample = QStringLiteral("00:00:00");

double measuredWidth(double size)
{
    const QFont font = TovikFonts::systemFont(size, QFont::Medium, TovikFonts::Digits::monospaced);
    return QFontMetricsF(font).horizontalAdvance(sample);
}

// The search as stated: from the limit downward in 0.25-point steps; the floor itself is never measured.
double referenceFit(QSizeF size, double maximum, double minimum, const TimeFontFitting::WidthAtSize &widthAt)
{
    const double floor = std::max(minimum, 1.0);
    const double limit = std::min(std::max(size.height() * 0.78, 1.0), maximum);
    if (floor >= limit) {
        return floor;
    }
    const double widthLimit = std::max(size.width() * 0.94, 1.0);
    for (double candidate = limit;; candidate -= 0.25) {
        if (widthAt(candidate) <= widthLimit) {
            return candidate;
        }
        if (candidate - 0.25 <= floor) {
            return floor;
        }
    }
}

struct Counting {
    TimeFontFitting::WidthAtSize width;
    int calls = 0;
    TimeFontFitting::WidthAtSize counted()
    {
        return [this](double size) {
            ++calls;
            return width(size);
        };
    }
};

} // namespace

TEST(TimeFontFitting, AgreesWithTheStepwiseSearchOverManyBoxes)
{
    int boxes = 0;
    for (double width = 20; width <= 900; width += 23.7) {
        for (double height = 10; height <= 420; height += 29.3) {
            for (const auto &[maximum, minimum] : {std::pair{110.0, 18.0}, {200.0, 12.0}, {40.0, 5.0}}) {
                const QSizeF box(width, height);
                const double expected = referenceFit(box, maximum, minimum, measuredWidth);
                ASSERT_EQ(TimeFontFitting::fittedSize(box, sample, maximum, minimum), expected)
                    << width << "x" << height << " max " << maximum << " min " << minimum;
                ++boxes;
            }
        }
    }
    EXPECT_GT(boxes, 500);
}

TEST(TimeFontFitting, FindsTheSameSizeForWidthsThatAreNotProportional)
{
    // Widths with a fixed part, with rounding to whole pixels and with a curve: the estimate is off and the
    // search must step to the same answer.
    const std::vector<TimeFontFitting::WidthAtSize> widths = {
        [](double s) { return 40 + 3.1 * s; },
        [](double s) { return std::ceil(4.4 * s); },
        [](double s) { return 0.05 * s * s + 2 * s; },
        [](double s) { return 5.0 * s - 30; },
    };
    for (std::size_t i = 0; i < widths.size(); ++i) {
        for (double width = 10; width <= 700; width += 9.1) {
            const QSizeF box(width, 300);
            EXPECT_EQ(TimeFontFitting::fittedSize(box, 110, 18, widths[i]), referenceFit(box, 110, 18, widths[i]))
                << "width function " << i << " box width " << width;
        }
    }
}

TEST(TimeFontFitting, MeasuresOnlyAFewTimes)
{
    Counting proportional{[](double s) { return 4.6 * s; }};
    // A 300 x 132 box: the limit is 102.96 points and the answer lies some 160 steps below it.
    const double size = TimeFontFitting::fittedSize(QSizeF(300, 132), 110, 18, proportional.counted());
    EXPECT_EQ(size, referenceFit(QSizeF(300, 132), 110, 18, proportional.width));
    EXPECT_LE(proportional.calls, 3);
}

TEST(TimeFontFitting, FloorWithoutMeasuringWhenTheMinimumReachesTheLimit)
{
    struct Case {
        QSizeF box;
        double maximum;
        double minimum;
        double expected;
    };
    const Case cases[] = {
        {{500, 20}, 110, 18, 18},   // limit 15.6 below the minimum
        {{500, 300}, 10, 12, 12},   // a maximum below the minimum
        {{500, 0.5}, 110, -4, 1},   // never below 1, and a flat box's limit is 1
        {{500, 0.5}, 110, 0.2, 1},
        {{500, 300}, 18, 18, 18},   // minimum equal to the limit
    };
    for (const Case &c : cases) {
        Counting width{[](double s) { return 4.6 * s; }};
        EXPECT_EQ(TimeFontFitting::fittedSize(c.box, c.maximum, c.minimum, width.counted()), c.expected);
        EXPECT_EQ(width.calls, 0);
    }
}

TEST(TimeFontFitting, WideBoxGivesTheLimitExactly)
{
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(5000, 100), sample, 200, 12), 78);
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(5000, 400), sample, 110, 18), 110);
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(5000, 133.3), sample, 110, 18), 133.3 * 0.78);
}

TEST(TimeFontFitting, TextThatNeverFitsGivesTheFloor)
{
    // Too narrow for the text even one step above the floor.
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(30, 300), sample, 110, 18), 18);
    Counting tooWide{[](double) { return 1e6; }};
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(500, 300), 110, 18, tooWide.counted()), 18);
    // Steps are counted from the limit: 20 - 0.25k for k < 8, so 18.25 is the last size measured.
    Counting onlyFloor{[](double s) { return s > 18.25 ? 1e6 : 10; }};
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(500, 20 / 0.78), 110, 18, onlyFloor.counted()), 18.25);
}

TEST(TimeFontFitting, ResultsLieOnTheGridCountedFromTheLimit)
{
    const QSizeF box(400, 140); // limit 109.2
    const double size = TimeFontFitting::fittedSize(box, sample, 110, 18);
    ASSERT_LT(size, 109.2);
    const double steps = (109.2 - size) / 0.25;
    EXPECT_NEAR(steps, std::round(steps), 1e-9);
    EXPECT_LE(measuredWidth(size), 400 * 0.94);
    EXPECT_GT(measuredWidth(size + 0.25), 400 * 0.94);
}
