// The in-house symbols: every name the application asks for draws inside its box, at 1x and 2x.
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikSymbols.h>

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

const QStringList usedNames = {
    QStringLiteral("play.fill"),
    QStringLiteral("pause.fill"),
    QStringLiteral("arrow.counterclockwise"),
    QStringLiteral("clock"),
    QStringLiteral("calendar"),
    QStringLiteral("stopwatch"),
    QStringLiteral("pip.enter"),
    QStringLiteral("xmark"),
    QStringLiteral("pin"),
    QStringLiteral("pin.fill"),
    QStringLiteral("circle.lefthalf.filled"),
    QStringLiteral("arrow.up.left.and.arrow.down.right"),
    QStringLiteral("arrow.down.right.and.arrow.up.left"),
};

struct Coverage {
    int opaque = 0;      // pixels at full coverage
    int partial = 0;     // edge pixels
    int edgeTouches = 0; // painted pixels on the outermost ring of the image
};

Coverage coverageOf(const QImage &image)
{
    Coverage coverage;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            if (alpha == 0) {
                continue;
            }
            (alpha == 255 ? coverage.opaque : coverage.partial) += 1;
            if (x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1) {
                ++coverage.edgeTouches;
            }
        }
    }
    return coverage;
}

} // namespace

TEST(TovikSymbols, EveryNameDrawsInsideItsBoxAtBothRatios)
{
    for (const QString &name : usedNames) {
        for (const qreal ratio : {1.0, 2.0}) {
            const QPixmap pixmap = TovikSymbols::pixmap(name, 16, QFont::Bold, Qt::white, ratio);
            SCOPED_TRACE(name.toStdString() + " at " + std::to_string(ratio));
            ASSERT_FALSE(pixmap.isNull());
            EXPECT_EQ(pixmap.devicePixelRatio(), ratio);
            // Device pixels, not an upscaled 1x image: 20 logical pixels are 40 device pixels at 2x.
            EXPECT_EQ(pixmap.width(), qRound(20 * ratio));
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(20, 20));

            const Coverage coverage = coverageOf(pixmap.toImage());
            EXPECT_GT(coverage.opaque, 8 * ratio * ratio);
            EXPECT_EQ(coverage.edgeTouches, 0);
            // Crisp: solid interior pixels outnumber the antialiased rim at 2x.
            if (ratio == 2.0) {
                EXPECT_GT(coverage.opaque, coverage.partial / 2);
            }
        }
    }
}

TEST(TovikSymbols, PathsFillTheirBoxAndFollowIt)
{
    EXPECT_EQ(TovikSymbols::names().size(), usedNames.size());
    for (const QString &name : usedNames) {
        SCOPED_TRACE(name.toStdString());
        const QRectF box(10, 20, 30, 30);
        const QPainterPath path = TovikSymbols::path(name, box);
        ASSERT_FALSE(path.isEmpty());
        const QRectF bounds = path.boundingRect();
        EXPECT_TRUE(box.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(bounds));
        EXPECT_GT(bounds.width() * bounds.height(), 0.4 * box.width() * box.height());
        // A wide box centres the square drawing.
        const QRectF wide(0, 0, 90, 30);
        EXPECT_NEAR(TovikSymbols::path(name, wide).boundingRect().center().x(), 45, 3);
    }
}

TEST(TovikSymbols, HeavierWeightsDrawThickerStrokes)
{
    const QRectF box(0, 0, 100, 100);
    const auto area = [&box](QFont::Weight weight) {
        QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.fillPath(TovikSymbols::path(QStringLiteral("clock"), box, weight), Qt::white);
        painter.end();
        return coverageOf(image).opaque;
    };
    EXPECT_GT(area(QFont::Bold), area(QFont::Normal));
    EXPECT_GT(area(QFont::Normal), area(QFont::Light));
}

TEST(TovikSymbols, UnknownNameGivesNothing)
{
    EXPECT_TRUE(TovikSymbols::pixmap(QStringLiteral("no.such.symbol"), 12, QFont::Bold, Qt::white, 1).isNull());
    EXPECT_TRUE(TovikSymbols::path(QStringLiteral("no.such.symbol"), QRectF(0, 0, 10, 10)).isEmpty());
    EXPECT_TRUE(TovikSymbols::pixmap(QStringLiteral("clock"), 0, QFont::Bold, Qt::white, 1).isNull());
}

TEST(TovikSymbols, SheetOfEverySymbolForPeopleToLookAt)
{
    // One row at 1x and one at 2x, 16 points, on the dark window background: tovik-symbols.png.
    const QStringList names = TovikSymbols::names();
    QImage sheet(names.size() * 48, 96, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(TovikColors::windowBackground());
    QPainter painter(&sheet);
    for (int i = 0; i < names.size(); ++i) {
        painter.drawPixmap(QPointF(i * 48 + 14, 14), TovikSymbols::pixmap(names[i], 16, QFont::Medium, Qt::white, 1));
        QPixmap large = TovikSymbols::pixmap(names[i], 16, QFont::Medium, Qt::white, 2);
        large.setDevicePixelRatio(1);
        painter.drawPixmap(QPointF(i * 48 + 4, 52), large);
    }
    painter.end();
    EXPECT_TRUE(sheet.save(QStringLiteral(DAYVANE_SCREENSHOT_DIR "/tovik-symbols.png")));
}
