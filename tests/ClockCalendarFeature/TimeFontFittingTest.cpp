// The font fit against the plain search it stands for: every 0.25-point step tried from the top.
#include <ClockCalendarFeature/TimeFontFitting.h>
#include <TovikKit/TovikFonts.h>

#include <QFontMetricsF>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const QString sample = QStringLiteral("00:00:00");

double measuredWidth(double size)
{
    return QFontMetricsF(TovikFonts::systemFont(size, QFont::Medium, TovikFonts::Digits::monospaced))
        .horizontalAdvance(sample);
}

// The search as stated: from the limit downward in 0.25-point steps; the floor itself is never measured.
double referenceFit(QSizeF size, double maximum, double minimum, const TimeFontFitting::WidthAtSize &widthAt)
{
    const double floor = std::max(minimum, 1.0);
    const double limit = std::min(std::max(size.height() * 0.78, 1.0), maximum);
    for (double candidate = limit; candidate > floor; candidate -= 0.25) {
        if (widthAt(candidate) <= std::max(size.width() * 0.94, 1.0)) {
            return candidate;
        }
    }
    return floor;
}

} // namespace

TEST(TimeFontFitting, AgreesWithTheStepwiseSearch)
{
    for (double width = 20; width <= 900; width += 23.7) {
        for (double height = 10; height <= 420; height += 29.3) {
            for (const auto &[maximum, minimum] : {std::pair{110.0, 18.0}, {200.0, 12.0}, {40.0, 5.0}}) {
                const QSizeF box(width, height);
                ASSERT_EQ(TimeFontFitting::fittedSize(box, sample, maximum, minimum),
                          referenceFit(box, maximum, minimum, measuredWidth))
                    << width << "x" << height << " max " << maximum << " min " << minimum;
            }
        }
    }
    // Widths that are not proportional to the size (a fixed part, whole pixels, a curve) throw the estimate
    // off; stepping must still land on the same size, after only a few measurements when the estimate is good.
    const TimeFontFitting::WidthAtSize widths[] = {
        [](double s) { return 40 + 3.1 * s; }, [](double s) { return std::ceil(4.4 * s); },
        [](double s) { return 0.05 * s * s + 2 * s; }, [](double s) { return 4.6 * s; }};
    for (const auto &widthAt : widths) {
        for (double width = 10; width <= 700; width += 9.1) {
            int calls = 0;
            const auto counted = [&](double s) { return ++calls, widthAt(s); };
            EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(width, 300), 110, 18, counted),
                      referenceFit(QSizeF(width, 300), 110, 18, widthAt));
            if (&widthAt == &widths[3]) {
                EXPECT_LE(calls, 3) << width;
            }
        }
    }
}

TEST(TimeFontFitting, FloorWideBoxAndTextThatNeverFits)
{
    struct Case {
        QSizeF box;
        double maximum;
        double minimum;
        double expected;
        bool measures;
    };
    const Case cases[] = {
        {{500, 20}, 110, 18, 18, false},  // limit 15.6 below the minimum: the floor, unmeasured
        {{500, 300}, 10, 12, 12, false},  // a maximum below the minimum
        {{500, 300}, 18, 18, 18, false},  // a minimum equal to the limit
        {{500, 0.5}, 110, 0.2, 1, false}, // never below 1, and a flat box's limit is 1
        {{5000, 100}, 200, 12, 78, true}, // a wide box gives the limit exactly
        {{5000, 400}, 110, 18, 110, true}, {{5000, 133.3}, 110, 18, 133.3 * 0.78, true},
        {{30, 300}, 110, 18, 18, true}, // too narrow even one step above the floor
    };
    for (const Case &c : cases) {
        int calls = 0;
        const double size = TimeFontFitting::fittedSize(c.box, c.maximum, c.minimum, [&](double s) {
            ++calls;
            return measuredWidth(s);
        });
        EXPECT_EQ(size, c.expected) << c.box.width() << "x" << c.box.height();
        EXPECT_EQ(calls > 0, c.measures);
    }
    // Steps are counted from the limit: 20 - 0.25k above the floor of 18, so 18.25 is the last one tried.
    const auto onlyNearTheFloor = [](double s) { return s > 18.25 ? 1e6 : 1; };
    EXPECT_EQ(TimeFontFitting::fittedSize(QSizeF(500, 20 / 0.78), 110, 18, onlyNearTheFloor), 18.25);
}
