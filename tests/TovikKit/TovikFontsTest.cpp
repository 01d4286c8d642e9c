// The fonts the clock and stopwatch rely on: digits that keep the time's width, and sizes in logical pixels.
#include <TovikKit/TovikFonts.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <gtest/gtest.h>

TEST(TovikFontsTest, MonospacedDigitsAllHaveTheSameAdvance)
{
    for (const QFont::Weight weight : {QFont::Normal, QFont::Medium, QFont::DemiBold, QFont::Bold}) {
        const QFontMetricsF metrics(TovikFonts::systemFont(40, weight, TovikFonts::Digits::monospaced));
        const double zero = metrics.horizontalAdvance(QStringLiteral("0"));
        for (const QChar digit : QStringLiteral("123456789")) {
            EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(digit), zero)
                << "weight " << weight << " digit " << digit.toLatin1();
        }
        EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QStringLiteral("00:00:00")),
                         metrics.horizontalAdvance(QStringLiteral("18:47:59")));
    }
}

TEST(TovikFontsTest, ChineseTextUsesNotoSansCjk)
{
    const QFontInfo info(TovikFonts::systemFont(14, QFont::Bold));
    EXPECT_EQ(info.family(), QStringLiteral("Noto Sans CJK SC"));
}

TEST(TovikFontsTest, PointsAreLogicalPixels)
{
    for (const double points : {10.0, 15.0, 28.0, 110.0}) {
        const QFontInfo info(TovikFonts::systemFont(points));
        EXPECT_NEAR(info.pixelSize(), points, 0.5) << points;
    }
}

// Noto Sans CJK SC comes in Regular, Medium and Bold (and lighter and heavier faces); it has no semibold.
TEST(TovikFontsTest, EveryWeightIsDrawnInTheFaceChosenForIt)
{
    struct Case {
        QFont::Weight requested;
        const char *style;
    };
    const Case cases[] = {
        {QFont::Normal, "Regular"},
        {QFont::Medium, "Medium"},
        {QFont::DemiBold, "Bold"}, // the nearest faces are Medium and Bold; the heavier is taken
        {QFont::Bold, "Bold"},
    };
    for (const Case &c : cases) {
        for (const auto digits : {TovikFonts::Digits::proportional, TovikFonts::Digits::monospaced}) {
            for (const double points : {8.0, 34.0, 110.0}) {
                const QFontInfo info(TovikFonts::systemFont(points, c.requested, digits));
                EXPECT_EQ(info.family(), QStringLiteral("Noto Sans CJK SC")) << c.style;
                EXPECT_EQ(info.styleName(), QString::fromLatin1(c.style)) << c.requested << " at " << points;
            }
        }
    }
}
