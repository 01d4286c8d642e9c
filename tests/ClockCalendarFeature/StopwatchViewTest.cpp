// The stopwatch view driven like a user does: clicks on the view and its buttons, the copy action, and the
// store changing underneath it.
#include "StopwatchView.h"

#include "TovikDeferredTask.h"
#include "TovikSettingsStore.h"
#include "TovikViewTicker.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int shortInterval = 150;

class StopwatchViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        m_savedInterval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(shortInterval);
    }
    void TearDown() override { QGuiApplication::styleHints()->setMouseDoubleClickInterval(m_savedInterval); }

    StopwatchStore store() const
    {
        return StopwatchStore(TovikSettingsStore::open((m_folder.path() + "/suite.sqlite3").toStdString()),
                              "dayvane.stopwatch");
    }
    static bool singleClickPending(const StopwatchView &view)
    {
        return view.findChild<TovikDeferredTask *>()->isPending();
    }
    // A point on the digits, away from the buttons.
    static QPoint onDigits(const StopwatchView &view) { return view.label()->geometry().center(); }

    QTemporaryDir m_folder;
    int m_savedInterval = 0;
};

StopwatchState paused(double seconds)
{
    return {seconds, std::nullopt};
}

QColor labelColour(const StopwatchView &view)
{
    return view.label()->palette().color(QPalette::WindowText);
}

// The disc's own alpha, read beside the symbol so the icon does not count.
int discAlpha(StopwatchControlButton &button)
{
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return qAlpha(image.pixel(qRound(button.width() / 2.0), 3));
}

void sendClick(QWidget &view, QEvent::Type type, QPoint at, quint64 timestamp)
{
    QMouseEvent press(type, at, view.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    press.setTimestamp(timestamp);
    QApplication::sendEvent(&view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, view.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    release.setTimestamp(timestamp + 20);
    QApplication::sendEvent(&view, &release);
}

} // namespace

TEST_F(StopwatchViewTest, LayoutOfTheViewAndItsButtons)
{
    const auto frames = StopwatchView::layout(QRectF(0, 0, 324, 131), true);
    EXPECT_EQ(frames.label, QRectF(0, 62, 324, 69));
    EXPECT_EQ(frames.toggle, QRectF(110, 0, 44, 48));
    EXPECT_EQ(frames.reset, QRectF(170, 0, 44, 48));
    const auto bare = StopwatchView::layout(QRectF(0, 0, 324, 131), false);
    EXPECT_EQ(bare.label, QRectF(0, 0, 324, 131));
    EXPECT_FALSE(bare.toggle);

    const auto button = StopwatchControlButton::layout(QRectF(0, 0, 44, 48));
    EXPECT_EQ(button.circle, QRectF(7, 18, 30, 30));
    EXPECT_EQ(button.title, QRectF(0, 0, 44, 14));

    // In Qt's geometry the digits are on top and the buttons along the bottom.
    StopwatchView view(store(), true);
    view.show();
    view.resize(324, 131);
    EXPECT_EQ(view.label()->geometry(), QRect(0, 0, 324, 69));
    EXPECT_EQ(view.toggleButton()->geometry(), QRect(110, 83, 44, 48));
    EXPECT_EQ(view.resetButton()->geometry(), QRect(170, 83, 44, 48));

    StopwatchView withoutControls(store(), false);
    withoutControls.show();
    withoutControls.resize(200, 80);
    EXPECT_EQ(withoutControls.toggleButton(), nullptr);
    EXPECT_EQ(withoutControls.label()->geometry(), QRect(0, 0, 200, 80));
    EXPECT_EQ(withoutControls.toolTip(), QStringLiteral("单击暂停/继续，双击清零"));
}

TEST_F(StopwatchViewTest, CaptionsAndColoursFollowTheState)
{
    const Instant now = currentInstant();
    struct Case {
        StopwatchState state;
        const char *text;
        const char *caption;
        const char *symbol;
        bool resetEnabled;
        bool cyan;
    };
    const Case cases[] = {
        {{0, std::nullopt}, "00:00:00", "开始", "play.fill", false, false},
        {{0.5, std::nullopt}, "00:00:00", "开始", "play.fill", false, false},
        {{1, std::nullopt}, "00:00:01", "继续", "play.fill", true, false},
        {{3725.9, std::nullopt}, "01:02:05", "继续", "play.fill", true, false},
        {{0, now - 0.2}, "00:00:00", "暂停", "pause.fill", true, true},
        {{360000, now - 5}, "100:00:05", "暂停", "pause.fill", true, true},
    };
    StopwatchView view(store(), true);
    for (const Case &c : cases) {
        store().save(c.state);
        view.refresh(now);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(view.label()->text().toStdString(), c.text);
        EXPECT_EQ(view.toggleButton()->title().toStdString(), c.caption);
        EXPECT_EQ(view.toggleButton()->toolTip().toStdString(), c.caption);
        EXPECT_EQ(view.toggleButton()->symbol().toStdString(), c.symbol);
        EXPECT_EQ(view.resetButton()->isEnabled(), c.resetEnabled);
        EXPECT_EQ(labelColour(view), c.cyan ? QColor::fromRgbF(0.15f, 0.98f, 1.0f) : QColor::fromRgbF(1, 1, 1, 0.78f));
    }
    EXPECT_EQ(view.resetButton()->title(), QStringLiteral("重置"));
}

TEST_F(StopwatchViewTest, DisabledResetIsDimmedAndIgnoresPresses)
{
    store().save({0.5, std::nullopt});
    StopwatchView view(store(), true);
    view.show();
    view.resize(324, 131);
    ASSERT_FALSE(view.resetButton()->isEnabled());
    const int dimmed = discAlpha(*view.resetButton());
    EXPECT_NEAR(dimmed, 0.14 * 0.4 * 255, 2);

    QTest::mouseClick(view.resetButton(), Qt::LeftButton);
    EXPECT_EQ(store().load(), paused(0.5));
    // Nor does the press fall through to the view as a click of its own.
    EXPECT_FALSE(singleClickPending(view));

    store().save({5, std::nullopt});
    view.refresh();
    EXPECT_NEAR(discAlpha(*view.resetButton()), 0.14 * 255, 2);
    QTest::mouseClick(view.resetButton(), Qt::LeftButton);
    EXPECT_EQ(store().load(), paused(0));
    EXPECT_EQ(view.label()->text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(view.resetButton()->isEnabled());
}

TEST_F(StopwatchViewTest, ToggleButtonActsOnThePress)
{
    StopwatchView view(store(), true);
    view.show();
    view.resize(324, 131);
    QTest::mousePress(view.toggleButton(), Qt::LeftButton);
    EXPECT_TRUE(store().load().isRunning());
    EXPECT_EQ(view.toggleButton()->title(), QStringLiteral("暂停"));
    EXPECT_EQ(labelColour(view), QColor::fromRgbF(0.15f, 0.98f, 1.0f));
    QTest::mouseRelease(view.toggleButton(), Qt::LeftButton);

    // A quick second press is a press too, not a double click.
    QTest::mouseDClick(view.toggleButton(), Qt::LeftButton);
    EXPECT_FALSE(store().load().isRunning());
    EXPECT_FALSE(singleClickPending(view));
}

TEST_F(StopwatchViewTest, SingleClickActsOnlyAfterTheDoubleClickInterval)
{
    StopwatchView view(store(), true);
    view.show();
    view.resize(324, 131);
    QTest::mouseClick(&view, Qt::LeftButton, {}, onDigits(view));
    EXPECT_FALSE(store().load().isRunning());
    EXPECT_TRUE(singleClickPending(view));
    QTRY_VERIFY_WITH_TIMEOUT(store().load().isRunning(), 3000);
    EXPECT_EQ(labelColour(view), QColor::fromRgbF(0.15f, 0.98f, 1.0f));

    QTest::mouseClick(&view, Qt::LeftButton, {}, onDigits(view));
    EXPECT_TRUE(store().load().isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(!store().load().isRunning(), 3000);
    EXPECT_EQ(view.toggleButton()->title(), QStringLiteral("开始"));

    // The right button opens the menu and toggles nothing.
    QTest::mouseClick(&view, Qt::RightButton, {}, onDigits(view));
    EXPECT_FALSE(singleClickPending(view));
}

TEST_F(StopwatchViewTest, DoubleClickResetsWithoutToggling)
{
    store().save({10, currentInstant() - 5});
    StopwatchView view(store(), false);
    view.show();
    view.resize(300, 100);
    QTest::mouseClick(&view, Qt::LeftButton);
    EXPECT_TRUE(singleClickPending(view));
    QTest::mouseDClick(&view, Qt::LeftButton);
    EXPECT_EQ(store().load(), paused(0));
    EXPECT_EQ(view.label()->text(), QStringLiteral("00:00:00"));
    // The first click's toggle was cancelled, so nothing is left to start the stopwatch again.
    EXPECT_FALSE(singleClickPending(view));
}

TEST_F(StopwatchViewTest, ClicksAreCountedByTimeAndPlace)
{
    StopwatchView view(store(), false);
    view.show();
    view.resize(300, 100);
    const QPoint at(150, 50);
    const quint64 start = 1'000'000;

    // First click of a triple: a pending toggle. Qt reports the second as a double click: reset.
    sendClick(view, QEvent::MouseButtonPress, at, start);
    EXPECT_TRUE(singleClickPending(view));
    store().save({30, std::nullopt});
    sendClick(view, QEvent::MouseButtonDblClick, at, start + 60);
    EXPECT_EQ(store().load(), paused(0));
    // The third press within the interval is a plain press for Qt, yet it resets once more.
    store().save({30, std::nullopt});
    sendClick(view, QEvent::MouseButtonPress, at + QPoint(2, 1), start + 120);
    EXPECT_EQ(store().load(), paused(0));
    EXPECT_FALSE(singleClickPending(view));

    // After the interval, or far from the last click, a press starts afresh.
    sendClick(view, QEvent::MouseButtonPress, at, start + 120 + shortInterval + 1);
    EXPECT_TRUE(singleClickPending(view));
    sendClick(view, QEvent::MouseButtonPress, at + QPoint(60, 0), start + 120 + shortInterval + 40);
    EXPECT_TRUE(singleClickPending(view));
    QTRY_VERIFY_WITH_TIMEOUT(store().load().isRunning(), 3000);
    EXPECT_FALSE(singleClickPending(view));
}

TEST_F(StopwatchViewTest, CopyPutsTheVisibleTimeOnTheClipboard)
{
    store().save({3725.9, std::nullopt});
    QWidget window;
    auto *view = new StopwatchView(store(), true, &window);
    view->resize(324, 131);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));

    QTest::keySequence(&window, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("01:02:05"));

    // The context menu holds the one item "复制", which does the same.
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    QStringList items;
    QTimer::singleShot(0, view, [&items] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu) {
            return;
        }
        for (QAction *action : menu->actions()) {
            items.append(action->text());
            EXPECT_TRUE(action->shortcut().isEmpty());
        }
        menu->actions().constFirst()->trigger();
        menu->close();
    });
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(20, 20), view->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(view, &request);
    EXPECT_EQ(items, QStringList{QStringLiteral("复制")});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("01:02:05"));
}

TEST_F(StopwatchViewTest, TicksShowChangesMadeElsewhereOnlyWhileShown)
{
    QWidget window;
    auto *view = new StopwatchView(store(), true, &window);
    view->resize(324, 131);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto *ticker = view->findChild<TovikViewTicker *>();
    EXPECT_TRUE(ticker->isRunning());

    // Another writer of the same suite (the widget's buttons) changes the stopwatch.
    store().save({42, std::nullopt});
    QTRY_COMPARE_WITH_TIMEOUT(view->label()->text(), QStringLiteral("00:00:42"), 3000);
    EXPECT_EQ(view->toggleButton()->title(), QStringLiteral("继续"));

    window.hide();
    EXPECT_FALSE(ticker->isRunning());
    store().save({7, std::nullopt});
    window.show();
    EXPECT_TRUE(ticker->isRunning());
    EXPECT_EQ(view->label()->text(), QStringLiteral("00:00:07"));
}
