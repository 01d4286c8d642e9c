#include "TemporaryFolder.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <DayvaneCore/DayvaneStopwatchStore.h>
#include <Platform/WidgetHost/PlacedWidgetWindow.h>
#include <Platform/WidgetHost/WidgetDesktop.h>
#include <Platform/WidgetHost/WidgetExtensionLoader.h>
#include <Platform/WidgetHost/WidgetGallery.h>
#include <Platform/WidgetHost/WidgetTimeline.h>
#include <Platform/WidgetHost/WidgetViewFactory.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

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
    QSignalSpy stopwatchChanged(&stopwatch->timeline(), &WidgetTimeline::entryChanged);
    QSignalSpy clockChanged(&clock->timeline(), &WidgetTimeline::entryChanged);
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

} // namespace
