// The chrome's own moving and resizing: which presses it takes, and what real drags do to the panel.
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelChromeView.h>
#include <TovikKit/FloatingPanelHoverBorderView.h>
#include <TovikKit/FloatingPanelInteractiveView.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class InteractiveView final : public QWidget, public FloatingPanelInteractiveView {
    Q_OBJECT
    Q_INTERFACES(FloatingPanelInteractiveView)
public:
    using QWidget::QWidget;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        ++presses;
        event->accept();
    }

public:
    int presses = 0;
};

// A 300 x 200 panel: a label and a button at the top, a marked view with a label inside below them, a
// button reaching into the resize corner, and at the top right a plain view whose marked child lets its
// presses through to it (as day cells do for their month view).
class Fixture : public ::testing::Test {
protected:
    Fixture()
    {
        chrome->resize(300, 200);
        label->setGeometry(10, 10, 80, 20);
        button->setGeometry(100, 10, 60, 20);
        interactive->setGeometry(10, 40, 200, 150);
        innerLabel->setGeometry(10, 10, 50, 20);
        labelInButton->setGeometry(2, 2, 20, 10);
        cornerButton->setGeometry(220, 120, 80, 80);
        monthView->setGeometry(220, 10, 70, 100);
        cell->setGeometry(5, 5, 30, 30);
        cell->setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void showAt(const QPoint &position)
    {
        panel.move(position);
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    }

    // Presses on `widget` at `local`, drags the mouse by `delta` in Qt's global space and releases.
    static void drag(QWidget *widget, const QPoint &local, const QPoint &delta)
    {
        const QPoint startGlobal = widget->mapToGlobal(local);
        QTest::mousePress(widget, Qt::LeftButton, {}, local);
        QTest::mouseMove(widget, widget->mapFromGlobal(startGlobal + delta));
        QTest::mouseRelease(widget, Qt::LeftButton, {}, widget->mapFromGlobal(startGlobal + delta));
    }

    FloatingPanel panel{{QStringLiteral("时钟"), "test.window", {300, 200}, {180, 64}, 12, false, QString(), nullptr}};
    FloatingPanelChromeView *chrome = new FloatingPanelChromeView(&panel);
    QLabel *label = new QLabel(QStringLiteral("12:00"), chrome);
    QPushButton *button = new QPushButton(chrome);
    InteractiveView *interactive = new InteractiveView(chrome);
    QLabel *innerLabel = new QLabel(QStringLiteral("1"), interactive);
    QLabel *labelInButton = new QLabel(QStringLiteral("x"), button);
    QPushButton *cornerButton = new QPushButton(chrome);
    QWidget *monthView = new QWidget(chrome);
    InteractiveView *cell = new InteractiveView(monthView);
};

using FloatingPanelChromeViewTest = Fixture;

TEST_F(FloatingPanelChromeViewTest, decidesWhichPressesMoveOrResizeThePanel)
{
    // Points are y-up in the 300 x 200 chrome.
    struct Case {
        const char *name;
        QWidget *hit;
        QPointF point;
        QWidget *expected;
    };
    const Case cases[] = {
        {"a label moves", label, {20, 185}, chrome},
        {"empty space moves", chrome, {250, 185}, chrome},
        {"nothing hit moves", nullptr, {250, 185}, chrome},
        {"a button keeps its press", button, {110, 185}, button},
        {"a label inside a button goes to the label", labelInButton, {103, 187}, labelInButton},
        {"a marked view keeps its press", interactive, {50, 100}, interactive},
        {"a label inside a marked view goes to the label", innerLabel, {25, 145}, innerLabel},
        {"a marked child that lets presses through keeps them for its parent", monthView, {240, 170}, monthView},
        {"beside that child the parent moves", monthView, {280, 120}, chrome},
        {"32 points from the right edge resizes", cornerButton, {268, 10}, chrome},
        {"33 points from the right edge does not", cornerButton, {267, 10}, cornerButton},
        {"32 points from the bottom edge resizes", cornerButton, {290, 32}, chrome},
        {"33 points from the bottom edge does not", cornerButton, {290, 33}, cornerButton},
        {"outside the bounds is nothing", label, {301, 10}, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chrome->hitTarget(c.hit, c.point), c.expected);
    }
    EXPECT_EQ(FloatingPanelChromeView::resizeHotZone({300, 200}), QRectF(268, 0, 32, 32));
    EXPECT_EQ(FloatingPanelChromeView::resizeHotZone({20, 10}), QRectF(0, 0, 20, 10));
}

TEST_F(FloatingPanelChromeViewTest, aDragOnALabelMovesThePanelAndOneOnAControlDoesNot)
{
    showAt({200, 150});
    drag(label, {20, 10}, {-50, 30});
    EXPECT_EQ(panel.pos(), QPoint(150, 180));
    EXPECT_FALSE(chrome->isMoving());

    drag(button, {10, 10}, {40, 40});
    EXPECT_EQ(panel.pos(), QPoint(150, 180));
    drag(interactive, {100, 100}, {40, 40});
    EXPECT_EQ(panel.pos(), QPoint(150, 180));
    EXPECT_EQ(interactive->presses, 1);

    drag(innerLabel, {5, 5}, {10, -20});
    EXPECT_EQ(panel.pos(), QPoint(150, 180)) << "the label's press travels up to the marked view";
}

TEST_F(FloatingPanelChromeViewTest, theCornerResizesWithTheTopLeftCornerFixedEvenOverContent)
{
    showAt({200, 150});
    const QRect before = panel.geometry();
    drag(cornerButton, {70, 70}, {40, 20});
    EXPECT_EQ(panel.geometry(), QRect(before.topLeft(), QSize(340, 220)));
    drag(cornerButton, {70, 70}, {-500, -500});
    EXPECT_EQ(panel.geometry(), QRect(before.topLeft(), QSize(180, 64))) << "the minimum";
}

TEST_F(FloatingPanelChromeViewTest, aPanelDraggedOffTheLeftKeepsTwentyFourPointsOnTheScreen)
{
    showAt({200, 150});
    const QRect screen = panel.screen()->geometry();
    // Leaving only 10 points visible at the left edge.
    drag(label, {20, 10}, {screen.left() + 10 - panel.frameGeometry().right() - 1, 0});
    EXPECT_EQ(panel.pos().x(), screen.left() + 24 - 300);
    EXPECT_EQ(panel.pos().y(), 150);
}

TEST_F(FloatingPanelChromeViewTest, aViewTakenOutOfThePanelNoLongerMovesIt)
{
    showAt({200, 150});
    // Another window over the panel, so the press lies within the chrome's bounds.
    QWidget elsewhere;
    elsewhere.setGeometry(210, 160, 200, 100);
    label->setParent(&elsewhere);
    elsewhere.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&elsewhere));
    label->show();
    drag(label, {20, 10}, {-50, 30});
    EXPECT_EQ(panel.pos(), QPoint(200, 150));
    EXPECT_FALSE(chrome->isMoving());
}

TEST_F(FloatingPanelChromeViewTest, theResizeCursorShowsOverTheCornerOnly)
{
    showAt({200, 150});
    QTest::mouseMove(&panel, QPoint(290, 190));
    EXPECT_TRUE(QTest::qWaitFor([&] { return chrome->cursor().shape() == Qt::BitmapCursor; }));
    QTest::mouseMove(&panel, QPoint(150, 100));
    EXPECT_TRUE(QTest::qWaitFor([&] { return chrome->cursor().shape() == Qt::ArrowCursor; }));
}

TEST(FloatingPanelHoverBorderView, strokesInsideTheBoundsWithASmallerRadius)
{
    EXPECT_EQ(FloatingPanelHoverBorderView::borderRect({100, 40}), QRectF(1.5, 1.5, 97, 37));
    EXPECT_EQ(FloatingPanelHoverBorderView::borderRadius(12), 10.5);
    EXPECT_EQ(FloatingPanelHoverBorderView::borderRadius(1), 0);
    FloatingPanelHoverBorderView border;
    EXPECT_EQ(border.cornerRadius(), 12);
    EXPECT_TRUE(border.testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(FloatingPanelChromeView, theResizeCursorIsDrawnWithItsHotSpotNearTheTopLeft)
{
    const QCursor cursor = FloatingPanelChromeView::bottomRightResizeCursor();
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
    EXPECT_EQ(cursor.hotSpot(), QPoint(2, 2));
    EXPECT_EQ(cursor.pixmap().deviceIndependentSize(), QSizeF(20, 20));
}

} // namespace

#include "FloatingPanelChromeViewTest.moc"
