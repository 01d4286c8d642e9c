#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <DayvaneCore/DayvaneStopwatchStore.h>

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QMenu>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <DayvaneWidgetHost/PlacedWidgetWindow.h>
#include <DayvaneWidgetHost/WidgetDesktop.h>
#include <DayvaneWidgetHost/WidgetExtensionLoader.h>
#include <DayvaneWidgetHost/WidgetGallery.h>
#include <DayvaneWidgetHost/WidgetTimelineScheduler.h>
#include <DayvaneWidgetHost/WidgetViewFactory.h>
#include <algorithm>

// The placed widgets and the gallery with the real extension, on the offscreen platform.
namespace {

Instant wallClock()
{
    return QDateTime::currentMSecsSinceEpoch() / 1000.0;
}

class WidgetDesktopTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QString error;
        extension = loader.load(QStringLiteral(DAYVANE_WIDGET_PLUGIN), &error);
        ASSERT_TRUE(extension) << error.toStdString();
        WidgetViewFactory::prepare(engine);
    }
    // Removed widgets go once the event loop comes round, which a test does not wait for.
    void TearDown() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::vector<PlacedWidget> stored() const { return WidgetHostStore(file).load(); }

    TemporaryFolder folder;
    std::filesystem::path file = folder / "settings.sqlite3";
    WidgetExtensionLoader loader;
    WidgetExtension *extension = nullptr;
    QQmlEngine engine;
};

TEST_F(WidgetDesktopTest, RestoredWidgetsComeBackOnScreenAndUnknownKindsAreForgotten)
{
    const QRect area = WidgetDesktop::availableAreas().front();
    WidgetHostStore(file).save({
        {"DayvaneClockWidget", WidgetFamily::systemSmall, area.topLeft() + QPoint(5000, 40)},
        {"DayvaneWeatherWidget", WidgetFamily::systemMedium, area.topLeft()},
        {"DayvaneStopwatchWidget", WidgetFamily::systemMedium, area.topLeft() + QPoint(10, 20)},
    });
    WidgetHostStore store(file);
    WidgetDesktop desktop(engine, *extension, store, wallClock);
    QSignalSpy restored(&desktop, &WidgetDesktop::restored);
    desktop.restore();
    // The first comes at once, the others as the event loop turns.
    EXPECT_EQ(desktop.windows().size(), 1u);
    ASSERT_TRUE(restored.wait(5000));

    const std::vector<PlacedWidgetWindow *> windows = desktop.windows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0]->widget().kind, "DayvaneClockWidget");
    EXPECT_TRUE(area.contains(windows[0]->frame())) << "a widget placed on a screen that is gone";
    EXPECT_EQ(windows[1]->place(), area.topLeft() + QPoint(10, 20));
    EXPECT_EQ(windows[1]->size(), widgetFamilySize(WidgetFamily::systemMedium).toSize());

    const std::vector<PlacedWidget> kept = stored();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].position, windows[0]->place());
    EXPECT_EQ(kept[1].kind, "DayvaneStopwatchWidget");
}

TEST_F(WidgetDesktopTest, PastTheLimitStoredWidgetsStayStoredButUnshown)
{
    const QRect area = WidgetDesktop::availableAreas().front();
    std::vector<PlacedWidget> remembered;
    for (int i = 0; i < 70; ++i) {
        remembered.push_back({i % 2 ? "DayvaneClockWidget" : "DayvaneCalendarWidget", WidgetFamily::systemSmall,
                              area.topLeft() + QPoint(i, i)});
    }
    // Past the limit even a kind the extension no longer offers is left as it was.
    remembered.push_back({"DayvaneWeatherWidget", WidgetFamily::systemMedium, area.topLeft()});
    const std::size_t limit = WidgetDesktop::maxPlacedWidgets;
    WidgetHostStore(file).save(remembered);
    WidgetHostStore store(file);
    WidgetDesktop desktop(engine, *extension, store, wallClock);
    QSignalSpy restored(&desktop, &WidgetDesktop::restored);
    QSignalSpy limited(&desktop, &WidgetDesktop::limitReached);
    desktop.restore();
    ASSERT_TRUE(restored.count() == 1 || restored.wait(60000));

    // The first ones are shown, the user is told once, and the store still holds everything.
    ASSERT_EQ(desktop.windows().size(), limit);
    EXPECT_EQ(desktop.windows().back()->place(), remembered[limit - 1].position);
    ASSERT_EQ(limited.count(), 1);
    EXPECT_EQ(limited.at(0).at(0).value<std::size_t>(), remembered.size() - limit);
    EXPECT_EQ(stored(), remembered);

    // A change of the shown ones keeps the others after them; a full desktop takes no new one.
    desktop.remove(desktop.windows().front());
    desktop.add("DayvaneStopwatchWidget", WidgetFamily::systemSmall);
    desktop.add("DayvaneClockWidget", WidgetFamily::systemSmall);
    ASSERT_EQ(desktop.windows().size(), limit);
    ASSERT_EQ(limited.count(), 2);
    EXPECT_EQ(limited.at(1).at(0).value<std::size_t>(), 0u);
    const std::vector<PlacedWidget> kept = stored();
    ASSERT_EQ(kept.size(), remembered.size());
    EXPECT_EQ(std::vector<PlacedWidget>(kept.begin(), kept.begin() + limit - 1),
              std::vector<PlacedWidget>(remembered.begin() + 1, remembered.begin() + limit));
    EXPECT_EQ(kept[limit - 1].kind, "DayvaneStopwatchWidget");
    EXPECT_EQ(std::vector<PlacedWidget>(kept.begin() + limit, kept.end()),
              std::vector<PlacedWidget>(remembered.begin() + limit, remembered.end()));
}

TEST_F(WidgetDesktopTest, AddingResizingAndRemovingAreRememberedInOrder)
{
    WidgetHostStore store(file);
    WidgetDesktop desktop(engine, *extension, store, wallClock);
    desktop.add("DayvaneClockWidget", WidgetFamily::systemSmall);
    desktop.add("DayvaneCalendarWidget", WidgetFamily::systemSmall);
    desktop.add("DayvaneNoSuchWidget", WidgetFamily::systemSmall);
    std::vector<PlacedWidgetWindow *> windows = desktop.windows();
    ASSERT_EQ(windows.size(), 2u);
    // Stacked in a column: the same left edge, the second below the first without touching it.
    EXPECT_EQ(windows[1]->place().x(), windows[0]->place().x());
    EXPECT_GT(windows[1]->frame().top(), windows[0]->frame().bottom());

    const QPoint clockPlace = windows[0]->place();
    desktop.resize(windows[0], WidgetFamily::systemLarge);
    windows = desktop.windows();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(windows[0]->family(), WidgetFamily::systemLarge);
    std::vector<PlacedWidget> kept = stored();
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].kind, "DayvaneClockWidget");
    EXPECT_EQ(kept[0].family, WidgetFamily::systemLarge);
    // Wider now, it is pulled left to stay on the screen; its top stays.
    EXPECT_EQ(kept[0].position.y(), clockPlace.y());
    EXPECT_TRUE(WidgetDesktop::availableAreas().front().contains(windows[0]->frame()));

    desktop.remove(windows[0]);
    kept = stored();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].kind, "DayvaneCalendarWidget");
}

TEST_F(WidgetDesktopTest, AReloadShowsTheStopwatchAsTheSuiteNowHoldsIt)
{
    DayvaneStopwatchStore::shared().reset();
    WidgetHostStore store(file);
    WidgetDesktop desktop(engine, *extension, store, wallClock);
    desktop.add("DayvaneStopwatchWidget", WidgetFamily::systemSmall);
    desktop.add("DayvaneClockWidget", WidgetFamily::systemSmall);
    PlacedWidgetWindow *stopwatch = desktop.windows().front();
    PlacedWidgetWindow *clock = desktop.windows().back();
    EXPECT_FALSE(stopwatch->view()->property("isRunning").toBool());

    // What the application does: a write of the shared suite, then a reload of the kind.
    DayvaneStopwatchStore::shared().toggle(wallClock());
    QSignalSpy stopwatchChanged(&stopwatch->timeline(), &WidgetTimelineScheduler::entryChanged);
    QSignalSpy clockChanged(&clock->timeline(), &WidgetTimelineScheduler::entryChanged);
    desktop.reload(QStringLiteral("DayvaneStopwatchWidget"));
    EXPECT_EQ(stopwatchChanged.count(), 1);
    EXPECT_EQ(clockChanged.count(), 0);
    EXPECT_TRUE(stopwatch->view()->property("isRunning").toBool());
    DayvaneStopwatchStore::shared().reset();
}

TEST_F(WidgetDesktopTest, TheGalleryShowsEveryWidgetInEverySizeAndAddsTheOneClicked)
{
    WidgetGallery gallery(engine, *extension, wallClock, QStringLiteral("/usr/bin/dayvane-widget-host"));
    gallery.show();
    ASSERT_TRUE(gallery.window() && gallery.window()->rootObject());
    for (const WidgetConfiguration &widget : extension->widgets()) {
        for (const WidgetFamily family : widget.supportedFamilies) {
            QQuickItem *card = gallery.card(widget.kind, family);
            ASSERT_TRUE(card) << widget.kind;
            const QList<QQuickItem *> children = card->childItems();
            const auto view = std::find_if(children.begin(), children.end(), [](QQuickItem *child) {
                return child->property("isGalleryPreview").isValid();
            });
            ASSERT_NE(view, children.end()) << widget.kind;
            EXPECT_TRUE((*view)->property("isGalleryPreview").toBool()) << widget.kind;
        }
    }

    QSignalSpy added(&gallery, &WidgetGallery::addRequested);
    QQuickItem *card = gallery.card("DayvaneCalendarWidget", WidgetFamily::systemMedium);
    const QPointF centre = card->mapToScene(QPointF(card->width() / 2, card->height() / 2));
    ASSERT_TRUE(QRectF(QPointF(), gallery.window()->size()).contains(centre)) << "the card is out of sight";
    QTest::mouseClick(gallery.window(), Qt::LeftButton, {}, centre.toPoint());
    ASSERT_EQ(added.count(), 1);
    EXPECT_EQ(added.at(0).at(0).value<std::string>(), "DayvaneCalendarWidget");
    EXPECT_EQ(added.at(0).at(1).value<WidgetFamily>(), WidgetFamily::systemMedium);
}

TEST_F(WidgetDesktopTest, TheGalleryCardKeepsItsContentInsideTheWidgetsContentMargin)
{
    // The system's margin of 7.5 points plus the card's own padding of 14 (small) or 18 on every edge.
    const struct {
        WidgetFamily family;
        QRectF content;
    } cases[] = {{WidgetFamily::systemSmall, {21.5, 21.5, 127, 127}},
                 {WidgetFamily::systemMedium, {25.5, 25.5, 313, 119}},
                 {WidgetFamily::systemLarge, {25.5, 25.5, 313, 331}}};
    for (const WidgetConfiguration &widget : extension->widgets()) {
        for (const auto &c : cases) {
            QString error;
            const std::unique_ptr<QQuickItem> view(WidgetViewFactory::create(
                engine, *extension, widget, widget.placeholder({c.family, true}, wallClock()), c.family, 0, &error));
            ASSERT_TRUE(view) << error.toStdString();
            const auto *content = view->findChild<QQuickItem *>(QStringLiteral("galleryContent"));
            ASSERT_TRUE(content) << widget.kind;
            EXPECT_EQ(content->mapRectToItem(view.get(), content->boundingRect()), c.content)
                << widget.kind << " " << static_cast<int>(c.family);
        }
    }
}

// The pixels of the gallery's focus ring around `card`, as the window shows them.
int focusRingPixels(QQuickView &window, QQuickItem &card)
{
    const QImage image = window.grabWindow();
    const QRect outline = card.mapRectToScene(card.boundingRect()).toAlignedRect();
    int count = 0;
    for (int y = outline.top() - 6; y <= outline.bottom() + 6; ++y) {
        for (int x = outline.left() - 6; x <= outline.right() + 6; ++x) {
            if (outline.contains(x, y) || !image.rect().contains(x, y)) {
                continue;
            }
            const QColor pixel = image.pixelColor(x, y);
            count += std::abs(pixel.red() - 0x0a) < 24 && std::abs(pixel.green() - 0x84) < 24
                     && std::abs(pixel.blue() - 0xff) < 24;
        }
    }
    return count;
}

TEST_F(WidgetDesktopTest, TheGalleryIsUsableFromTheKeyboard)
{
    WidgetGallery gallery(engine, *extension, wallClock, QStringLiteral("/usr/bin/dayvane-widget-host"));
    gallery.show();
    QQuickView *window = gallery.window();
    ASSERT_TRUE(window && window->rootObject());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == window; }));
    QQuickItem *first = gallery.card("DayvaneCalendarWidget", WidgetFamily::systemSmall);
    ASSERT_TRUE(first);
    EXPECT_EQ(focusRingPixels(*window, *first), 0);

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *kind;
        WidgetFamily family;
        const char *name;
    } steps[] = {
        {Qt::Key_Tab, {}, "DayvaneCalendarWidget", WidgetFamily::systemSmall, "Lumadi 日历（小）"},
        {Qt::Key_Right, {}, "DayvaneCalendarWidget", WidgetFamily::systemMedium, "Lumadi 日历（中）"},
        {Qt::Key_Right, {}, "DayvaneCalendarWidget", WidgetFamily::systemLarge, "Lumadi 日历（大）"},
        {Qt::Key_Right, {}, "DayvaneCalendarWidget", WidgetFamily::systemLarge, "Lumadi 日历（大）"},
        {Qt::Key_Down, {}, "DayvaneClockWidget", WidgetFamily::systemLarge, "Lumadi 时钟（大）"},
        {Qt::Key_Left, {}, "DayvaneClockWidget", WidgetFamily::systemMedium, "Lumadi 时钟（中）"},
        {Qt::Key_Down, {}, "DayvaneStopwatchWidget", WidgetFamily::systemMedium, "Lumadi 计时器（中）"},
        {Qt::Key_Down, {}, "DayvaneStopwatchWidget", WidgetFamily::systemMedium, "Lumadi 计时器（中）"},
        {Qt::Key_Up, {}, "DayvaneClockWidget", WidgetFamily::systemMedium, "Lumadi 时钟（中）"},
        {Qt::Key_Backtab, Qt::ShiftModifier, "DayvaneClockWidget", WidgetFamily::systemSmall, "Lumadi 时钟（小）"},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.name);
        QTest::keyClick(window, step.key, step.modifiers);
        QQuickItem *card = gallery.card(step.kind, step.family);
        ASSERT_TRUE(card);
        EXPECT_EQ(window->activeFocusItem(), card);
        const QRectF seen = card->mapRectToScene(card->boundingRect());
        EXPECT_TRUE(QRectF(QPointF(), window->size()).contains(seen)) << "the focused card is out of sight";
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(card);
        ASSERT_TRUE(accessible);
        EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), step.name);
        EXPECT_EQ(accessible->role(), QAccessible::Button);
        EXPECT_GT(focusRingPixels(*window, *card), 300);
    }
    EXPECT_EQ(focusRingPixels(*window, *first), 0);

    QSignalSpy added(&gallery, &WidgetGallery::addRequested);
    QTest::keyClick(window, Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Space);
    ASSERT_EQ(added.count(), 2);
    for (const QList<QVariant> &request : added) {
        EXPECT_EQ(request.at(0).value<std::string>(), "DayvaneClockWidget");
        EXPECT_EQ(request.at(1).value<WidgetFamily>(), WidgetFamily::systemSmall);
    }
}

TEST_F(WidgetDesktopTest, APlacedWidgetsMenuOpensFromTheKeyboard)
{
    WidgetHostStore store(file);
    WidgetDesktop desktop(engine, *extension, store, wallClock);
    desktop.add("DayvaneClockWidget", WidgetFamily::systemSmall);
    desktop.add("DayvaneStopwatchWidget", WidgetFamily::systemSmall);
    ASSERT_EQ(desktop.windows().size(), 2u);
    PlacedWidgetWindow *clock = desktop.windows().front();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(clock));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(clock);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), "Lumadi 时钟");

    // It can hold the focus, which its keys need.
    clock->requestActivate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QGuiApplication::focusWindow() == clock; }));

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool opens;
    } keys[] = {{Qt::Key_F10, {}, false},
                {Qt::Key_F10, Qt::ControlModifier | Qt::ShiftModifier, false},
                {Qt::Key_Menu, {}, true},
                {Qt::Key_F10, Qt::ShiftModifier, true}};
    for (const auto &key : keys) {
        SCOPED_TRACE(QKeySequence(key.key | key.modifiers).toString().toStdString());
        QSignalSpy asked(clock, &PlacedWidgetWindow::contextMenuRequested);
        QTest::keyClick(clock, key.key, key.modifiers);
        EXPECT_EQ(asked.count(), key.opens ? 1 : 0);
        if (!key.opens) {
            EXPECT_FALSE(QApplication::activePopupWidget());
            continue;
        }
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        EXPECT_TRUE(clock->frame().contains(menu->pos())) << "the menu opens on the widget";
        QTest::keyClick(menu, Qt::Key_Escape);
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    }

    // The first entry of the menu, 移除小组件, chosen with the keys.
    QTest::keyClick(clock, Qt::Key_Menu);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QMenu *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    QTest::keyClick(menu, Qt::Key_Down);
    ASSERT_TRUE(menu->activeAction());
    EXPECT_EQ(menu->activeAction()->text().toStdString(), "移除小组件");
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_EQ(desktop.windows().size(), 1u);
    EXPECT_EQ(desktop.windows().front()->widget().kind, "DayvaneStopwatchWidget");
}

} // namespace
