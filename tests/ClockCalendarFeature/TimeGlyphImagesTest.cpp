// The clock's digit images: what they draw must match Qt's own text, and a tick repaints only what changed.
#include <ClockCalendarFeature/TimeGlyphImages.h>
#include <TovikKit/TovikFonts.h>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QRectF frame(10, 20, 600, 130);

QFont clockFont()
{
    return TovikFonts::systemFont(100, QFont::Medium, TovikFonts::Digits::monospaced);
}

QRect inkBounds(const QImage &image)
{
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 128) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

QImage canvas()
{
    QImage image(640, 180, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

TEST(TimeGlyphImagesTest, DrawsWhereQtWouldSetTheSameText)
{
    QImage expected = canvas();
    {
        QPainter painter(&expected);
        painter.setFont(clockFont());
        painter.setPen(Qt::white);
        painter.drawText(frame, Qt::AlignCenter, QStringLiteral("09:16:39"));
    }
    QImage drawn = canvas();
    {
        QPainter painter(&drawn);
        TimeGlyphImages glyphs;
        glyphs.setStyle(clockFont(), Qt::white, 1.0);
        glyphs.draw(painter, frame, QStringLiteral("09:16:39"));
    }
    const QRect a = inkBounds(expected);
    const QRect b = inkBounds(drawn);
    ASSERT_FALSE(b.isEmpty());
    EXPECT_NEAR(a.left(), b.left(), 1);
    EXPECT_NEAR(a.right(), b.right(), 1);
    EXPECT_NEAR(a.top(), b.top(), 1);
    EXPECT_NEAR(a.bottom(), b.bottom(), 1);
}

TEST(TimeGlyphImagesTest, ATickRepaintsOnlyTheDigitsThatChanged)
{
    TimeGlyphImages glyphs;
    glyphs.setStyle(clockFont(), Qt::white, 1.0);

    const QRectF lastDigit = glyphs.changedArea(frame, QStringLiteral("09:16:39"), QStringLiteral("09:16:40"));
    const QRectF oneDigit = glyphs.changedArea(frame, QStringLiteral("09:16:40"), QStringLiteral("09:16:41"));
    EXPECT_GT(oneDigit.left(), frame.center().x());
    EXPECT_LT(oneDigit.width(), frame.width() / 6);
    EXPECT_LT(lastDigit.left(), oneDigit.left());
    EXPECT_DOUBLE_EQ(lastDigit.right(), oneDigit.right());
    EXPECT_EQ(lastDigit.top(), frame.top());
    EXPECT_EQ(lastDigit.bottom(), frame.bottom());

    EXPECT_TRUE(glyphs.changedArea(frame, QStringLiteral("09:16:41"), QStringLiteral("09:16:41")).isEmpty());
}

TEST(TimeGlyphImagesTest, TextsOfAnotherWidthRepaintTheWholeLine)
{
    TimeGlyphImages glyphs;
    glyphs.setStyle(clockFont(), Qt::white, 1.0);
    EXPECT_EQ(glyphs.changedArea(frame, QString(), QStringLiteral("09:16:41")), frame);
    EXPECT_EQ(glyphs.changedArea(frame, QStringLiteral("99:59:59"), QStringLiteral("100:00:00")), frame);
}
