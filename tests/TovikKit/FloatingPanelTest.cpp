// The panel window: the keep-visible rule, no frame change by a maximise request, and hover reports.
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelHostViewController.h>

#include <QCursor>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

FloatingPanelConfiguration clockConfiguration()
{
    return {QStringLiteral("时钟"),
            "dayvane.clock.window",
            {340, 116},
            {72, 28},
            12,
            false,
            QStringLiteral("在主窗口打开"),
            nullptr};
}

TEST(FloatingPanel, keepsTwentyFourPointsOnTheGivenScreen)
{
    const FloatingPanel panel(clockConfiguration());
    const TovikScreenPlacement::Screen screen{{0, 0, 1440, 900}, {0, 0, 1440, 875}};
    EXPECT_EQ(panel.constrainFrameRect({-330, 100, 340, 116}, screen), QRectF(-316, 100, 340, 116));
    EXPECT_EQ(panel.constrainFrameRect({1430, 890, 340, 116}, screen), QRectF(1416, 876, 340, 116));
    EXPECT_EQ(panel.constrainFrameRect({0, 860, 340, 116}, screen), QRectF(0, 860, 340, 116));
}

TEST(FloatingPanel, isAFramelessWindowShownWithoutActivatingAtItsInitialSize)
{
    FloatingPanel panel(clockConfiguration());
    EXPECT_TRUE(panel.isWindow());
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_ShowWithoutActivating));
    EXPECT_TRUE(panel.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("时钟"));
    EXPECT_EQ(panel.size(), QSize(340, 116));
    EXPECT_EQ(panel.minimumSize(), QSize(72, 28));
}

TEST(FloatingPanel, aMaximiseRequestLeavesTheFrameAsItWas)
{
    FloatingPanel panel(clockConfiguration());
    panel.move(120, 90);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    const QRect before = panel.geometry();
    panel.setWindowState(Qt::WindowMaximized);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.windowState() == Qt::WindowNoState; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.geometry() == before; }));
}

TEST(FloatingPanelHostViewController, reportsHoverAtOnceWhenShownUnderTheMouseAndLayoutPasses)
{
    struct Case {
        const char *name;
        QPoint cursor;
        bool hovered;
    };
    const Case cases[] = {
        {"opens under the mouse", {200, 120}, true},
        {"opens elsewhere", {700, 500}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QCursor::setPos(c.cursor);
        FloatingPanel panel(clockConfiguration());
        panel.move(100, 100);
        FloatingPanelHostViewController host;
        host.setView(&panel);
        std::vector<bool> reports;
        int layouts = 0;
        host.onHoverChanged = [&reports](bool hovered) { reports.push_back(hovered); };
        host.onLayout = [&layouts] { ++layouts; };
        panel.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.front(), c.hovered);
        const int before = layouts;
        panel.resize(400, 150);
        EXPECT_GT(layouts, before);
    }
}

} // namespace
