// A chrome button draws its symbol on its background and clicks like a button.
#include <TovikKit/FloatingPanelChromeButton.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikSurfaceView.h>
#include <TovikKit/TovikWindowChrome.h>

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(FloatingPanelChromeButton, drawsTheTintedSymbolOnItsRoundedBackground)
{
    FloatingPanelChromeButton button;
    button.resize(14, 14);
    button.setSymbol(QStringLiteral("xmark"), 7, QFont::Bold);
    button.setTint(QColor(255, 255, 255));
    button.setBackground(TovikColors::systemRed(), 7);
    QImage image(14, 14, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    // The centre is on the cross, the corner outside the round background, between them the red.
    EXPECT_EQ(image.pixelColor(7, 7).red(), 255);
    EXPECT_GT(image.pixelColor(7, 7).green(), 200);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
    EXPECT_EQ(image.pixelColor(7, 1).rgb(), TovikColors::systemRed().rgb());

    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    button.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(7, 7));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(TovikWindowChrome, theGlassIsADarkTranslucentRoundedSurfaceThatTakesNoClicks)
{
    const std::unique_ptr<TovikSurfaceView> glass(TovikWindowChrome::makeGlass(16, true));
    EXPECT_EQ(glass->cornerRadius(), 16);
    EXPECT_LT(glass->fillColor().alphaF(), 1);
    EXPECT_LT(glass->fillColor().lightnessF(), 0.2);
    EXPECT_TRUE(glass->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(glass->palette().color(QPalette::Window), TovikColors::darkPalette().color(QPalette::Window));
}

} // namespace
