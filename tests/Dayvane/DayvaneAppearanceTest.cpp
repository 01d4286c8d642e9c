// The application's look: its icon is drawn from the shipped SVG at any size and is every window's icon.
#include <Dayvane/DayvaneAppearance.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

TEST(DayvaneAppearanceTest, EveryWindowCarriesTheApplicationIconAtAnySize)
{
    DayvaneAppearance::apply(*qApp);
    const QIcon icon = QApplication::windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int side : {16, 24, 48, 128, 512}) {
        const QImage image = icon.pixmap(QSize(side, side)).toImage();
        ASSERT_EQ(image.size(), QSize(side, side)) << side;
        // Drawn, not blank: the page is light in the middle, the tile's corners are clear.
        EXPECT_GT(qGray(image.pixel(side / 4, side * 3 / 4)), 160) << side;
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << side;
    }
    QWidget window;
    EXPECT_EQ(window.windowIcon().cacheKey(), icon.cacheKey());
}
