// The stopwatch view driven like a user does: clicks on the view and its buttons, the copy action, and the
// store changing underneath it.
#include "StopwatchLookup.h"
#include "TovikTestClock.h"

#include <ClockCalendarFeature/StopwatchView.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikDeferredTask.h>
#include <Platform/Ui/TovikViewTicker.h>

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
const QColor cyan = QColor::fromRgbF(0.15f, 0.98f, 1.0f);
const QColor dimmedWhite = QColor::fromRgbF(1, 1, 1, 0.78f);

StopwatchState paused(double seconds)
{
    return {seconds, std::nullopt};
}

class StopwatchViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedInterval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(shortInterval);
    }
    void TearDown() override { QGuiApplication::styleHints()->setMouseDoubleClickInterval(m_savedInterval); }

    StopwatchStore store() const
    {
        return StopwatchStore(TovikSettingsStore::open((m_folder.path() + "/suite.sqlite3").toStdString()),
                              "dayvane.stopwatch");
    }
    // A shown view, laid out as on the stopwatch page.
    std::unique_ptr<StopwatchView> shownView(bool showsControls)
    {
        auto view = std::make_unique<StopwatchView>(TovikClock::shared(), store(), showsControls);
        view->show();
        view->resize(324, 131);
        return view;
    }

    QTemporaryDir m_folder;
    int m_savedInterval = 0;
};

bool singleClickPending(const StopwatchView &view)
{
    return view.findChild<TovikDeferredTask *>()->isPending();
}

QColor labelColour(const StopwatchView &view)
{
    return view.label()->palette().color(QPalette::WindowText);
}

// The disc's own alpha, read above the symbol so the icon does not count.
int discAlpha(StopwatchControlButton &button)
{
    QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    button.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return qAlpha(image.pixel(button.width() / 2, 3));
}

// A press of `type` at `timestamp` and its release; the click counts with the release.
void sendClick(QWidget &view, QEvent::Type type, QPoint at, quint64 timestamp)
{
    QMouseEvent press(type, at, view.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    press.setTimestamp(timestamp);
    QApplication::sendEvent(&view, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, view.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    release.setTimestamp(timestamp + 5);
    QApplication::sendEvent(&view, &release);
}

} // namespace

TEST_F(StopwatchViewTest, LayoutWithAndWithoutControls)
{
    const auto frames = StopwatchView::layout(QRectF(0, 0, 324, 131), true);
    EXPECT_EQ(frames.label, QRectF(0, 62, 324, 69));
    EXPECT_EQ(frames.toggle, QRectF(110, 0, 44, 48));
    EXPECT_EQ(frames.reset, QRectF(170, 0, 44, 48));
    EXPECT_EQ(StopwatchControlButton::layout(QRectF(0, 0, 44, 48)).circle, QRectF(7, 18, 30, 30));

    // In Qt's geometry the digits are on top and the buttons along the bottom.
    const auto view = shownView(true);
    EXPECT_EQ(view->label()->geometry(), QRect(0, 0, 324, 69));
    EXPECT_EQ(stopwatchToggleButton(*view)->geometry(), QRect(110, 83, 44, 48));
    EXPECT_EQ(stopwatchResetButton(*view)->geometry(), QRect(170, 83, 44, 48));
    const auto bare = shownView(false);
    EXPECT_EQ(stopwatchToggleButton(*bare), nullptr);
    EXPECT_EQ(bare->label()->geometry(), QRect(0, 0, 324, 131));
    EXPECT_EQ(bare->toolTip(), QStringLiteral("单击暂停/继续，双击清零"));
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
    };
    const Case cases[] = {
        {paused(0), "00:00:00", "开始", "play.fill", false},
        {paused(0.5), "00:00:00", "开始", "play.fill", false},
        {paused(1), "00:00:01", "继续", "play.fill", true},
        {paused(3725.9), "01:02:05", "继续", "play.fill", true},
        {{0, now - 0.2}, "00:00:00", "暂停", "pause.fill", true},
        {{360000, now - 5}, "100:00:05", "暂停", "pause.fill", true},
    };
    const auto view = shownView(true);
    for (const Case &c : cases) {
        store().save(c.state);
        view->refresh(now);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(view->label()->text().toStdString(), c.text);
        EXPECT_EQ(stopwatchToggleButton(*view)->title().toStdString(), c.caption);
        EXPECT_EQ(stopwatchToggleButton(*view)->toolTip().toStdString(), c.caption);
        EXPECT_EQ(stopwatchToggleButton(*view)->symbol().toStdString(), c.symbol);
        EXPECT_EQ(stopwatchResetButton(*view)->isEnabled(), c.resetEnabled);
        EXPECT_EQ(labelColour(*view), c.state.isRunning() ? cyan : dimmedWhite);
        EXPECT_NEAR(discAlpha(*stopwatchResetButton(*view)), 0.14 * 255 * (c.resetEnabled ? 1 : 0.4), 2);
    }
}

TEST_F(StopwatchViewTest, ButtonsActOnThePressAndDisabledResetIgnoresIt)
{
    store().save(paused(0.5));
    const auto view = shownView(true);
    QTest::mouseClick(stopwatchResetButton(*view), Qt::LeftButton);
    EXPECT_EQ(store().load(), paused(0.5));
    EXPECT_FALSE(singleClickPending(*view)); // nor does the press reach the view behind

    QTest::mousePress(stopwatchToggleButton(*view), Qt::LeftButton);
    EXPECT_TRUE(store().load().isRunning());
    EXPECT_EQ(labelColour(*view), cyan);
    QTest::mouseRelease(stopwatchToggleButton(*view), Qt::LeftButton);
    // A quick second press is a press too, not a double click.
    QTest::mouseDClick(stopwatchToggleButton(*view), Qt::LeftButton);
    EXPECT_FALSE(store().load().isRunning());

    store().save(paused(5));
    view->refresh();
    QTest::mouseClick(stopwatchResetButton(*view), Qt::LeftButton);
    EXPECT_EQ(store().load(), paused(0));
    EXPECT_EQ(stopwatchToggleButton(*view)->title(), QStringLiteral("开始"));
}

TEST_F(StopwatchViewTest, SingleClickActsOnlyAfterTheIntervalAndDoubleClickResets)
{
    const auto view = shownView(true);
    const QPoint digits = view->label()->geometry().center();
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, digits);
    EXPECT_FALSE(store().load().isRunning());
    EXPECT_TRUE(singleClickPending(*view));
    QTRY_VERIFY_WITH_TIMEOUT(store().load().isRunning(), 3000);
    EXPECT_EQ(labelColour(*view), cyan);

    // While running: the double click cancels its first click's toggle and resets instead.
    QTest::mouseClick(view.get(), Qt::LeftButton, {}, digits);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, digits);
    EXPECT_TRUE(store().load().isRunning()) << "a click counts when the button comes up";
    QTest::mouseRelease(view.get(), Qt::LeftButton, {}, digits);
    EXPECT_EQ(store().load(), paused(0));
    EXPECT_EQ(view->label()->text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(singleClickPending(*view));

    QTest::mouseClick(view.get(), Qt::RightButton, {}, digits);
    EXPECT_FALSE(singleClickPending(*view));
}

TEST_F(StopwatchViewTest, ClicksAreCountedByTimeAndPlace)
{
    const auto view = shownView(false);
    const QPoint at(150, 50);
    const quint64 start = 1'000'000;
    sendClick(*view, QEvent::MouseButtonPress, at, start);
    EXPECT_TRUE(singleClickPending(*view));
    store().save(paused(30));
    sendClick(*view, QEvent::MouseButtonDblClick, at, start + 60);
    EXPECT_EQ(store().load(), paused(0));
    // Qt reports a third quick press as a plain press; it is still part of the run and resets once more.
    store().save(paused(30));
    sendClick(*view, QEvent::MouseButtonPress, at + QPoint(2, 1), start + 120);
    EXPECT_EQ(store().load(), paused(0));
    EXPECT_FALSE(singleClickPending(*view));

    // After the interval, or far from the last click, a press starts afresh.
    sendClick(*view, QEvent::MouseButtonPress, at, start + 120 + shortInterval + 1);
    EXPECT_TRUE(singleClickPending(*view));
    sendClick(*view, QEvent::MouseButtonPress, at + QPoint(60, 0), start + 120 + shortInterval + 40);
    EXPECT_TRUE(singleClickPending(*view));
    QTRY_VERIFY_WITH_TIMEOUT(store().load().isRunning(), 3000);
}

TEST_F(StopwatchViewTest, CopyPutsTheVisibleTimeOnTheClipboard)
{
    store().save(paused(3725.9));
    QWidget window;
    auto *view = new StopwatchView(TovikClock::shared(), store(), true, &window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    QTest::keySequence(&window, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("01:02:05"));

    // The context menu holds the one item "复制", without a shortcut, which does the same.
    QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
    QStringList items;
    QTimer::singleShot(0, view, [&items] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            for (QAction *action : menu->actions()) {
                items.append(action->text() + action->shortcut().toString());
            }
            menu->actions().constFirst()->trigger();
            menu->close();
        }
    });
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(20, 20), view->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(view, &request);
    EXPECT_EQ(items, QStringList{QStringLiteral("复制")});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("01:02:05"));
}

TEST_F(StopwatchViewTest, TicksShowChangesMadeElsewhereOnlyWhileShown)
{
    const auto view = shownView(true);
    auto *ticker = view->findChild<TovikViewTicker *>();
    EXPECT_TRUE(ticker->isRunning());
    // Another writer of the same suite (the widget's buttons) changes the stopwatch.
    store().save(paused(42));
    QTRY_COMPARE_WITH_TIMEOUT(view->label()->text(), QStringLiteral("00:00:42"), 3000);

    view->hide();
    EXPECT_FALSE(ticker->isRunning());
    store().save(paused(7));
    view->show();
    EXPECT_TRUE(ticker->isRunning());
    EXPECT_EQ(view->label()->text(), QStringLiteral("00:00:07"));
}

TEST_F(StopwatchViewTest, ARunningStopwatchTicksAtTheWholeSecondsOfItsElapsedTime)
{
    constexpr double now = 1771286400.5;
    TovikTestClock clock(now);
    // Started 59.25 s ago on top of an hour: the next flip, to 01:01:00, is 0.75 s away, whatever the wall clock.
    store().save({3600, now - 59.25});
    const auto view = shownView(true);
    auto *ticker = view->findChild<TovikViewTicker *>();
    EXPECT_EQ(view->label()->text(), QStringLiteral("01:00:59"));
    EXPECT_EQ(ticker->scheduledDelayMs(), 750);
    clock.setNow(now + 0.75);
    EXPECT_EQ(view->label()->text(), QStringLiteral("01:01:00"));
    EXPECT_EQ(ticker->scheduledDelayMs(), 1000);

    // Paused, it re-reads the store at the wall clock's seconds.
    store().save(paused(42.9));
    clock.setNow(now + 0.875);
    EXPECT_EQ(view->label()->text(), QStringLiteral("00:00:42"));
    EXPECT_EQ(ticker->scheduledDelayMs(), 625);

    // The start button takes the clock's time, not the system's.
    stopwatchToggleButton(*view)->onPress();
    EXPECT_EQ(store().load(), (StopwatchState{42.9, now + 0.875}));
}
