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
