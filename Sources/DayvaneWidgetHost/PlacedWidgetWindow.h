#pragma once

#include <TovikWidgetKit/WidgetExtension.h>

#include <QPoint>
#include <QQuickWindow>

#include <functional>
#include <memory>

class QQmlEngine;
class QQuickItem;
class WidgetTimelineScheduler;

// One widget placed on the desktop: a frameless window at its family's size on the desktop layer (below
// normal windows, on every desktop, out of the task bar), showing its timeline's current entry. It can be
// dragged by any point; a press that does not become a drag stays the view's (its buttons and its URL).
// A right click, the Menu key or Shift+F10 asks for its menu.
class PlacedWidgetWindow final : public QQuickWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PlacedWidgetWindow)

public:
    using Clock = std::function<Instant()>;

    // Null view when the plugin's view could not be built (`error` says why).
    PlacedWidgetWindow(QQmlEngine &engine, const WidgetExtension &extension, const WidgetConfiguration &widget,
                       WidgetFamily family, const Clock &clock, QString *error);
    ~PlacedWidgetWindow() override;

    bool hasView() const { return m_view != nullptr; }
    const WidgetConfiguration &widget() const;
    WidgetFamily family() const { return m_family; }
    WidgetTimelineScheduler &timeline() { return *m_timeline; }
    QQuickItem *view() const { return m_view.get(); }

    // The second the live texts count to.
    void setNow(double now);
    // Where the widget is, as the host put it or the user dragged it; the window manager's own idea of the
    // window's position (relative to a frame it may add) does not count.
    QPoint place() const { return m_place; }
    void moveTo(QPoint place);
    QRect frame() const { return {m_place, size()}; }

signals:
    // The user let go of the widget at a new place.
    void moved();
    void contextMenuRequested(const QPoint &globalPosition);
    void openRequested(const QString &url);
    void intentRequested(const QString &name);

protected:
    bool event(QEvent *event) override;
    void exposeEvent(QExposeEvent *event) override;

private:
    void showEntry();

    const WidgetExtension &m_extension;
    WidgetFamily m_family = WidgetFamily::systemSmall;
    WidgetTimelineScheduler *m_timeline = nullptr;
    std::unique_ptr<QQuickItem> m_view;
    bool m_layered = false;
    QPoint m_place;
    // A press on the widget, which becomes a drag once the pointer has gone far enough.
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressGlobal;
    QPoint m_pressPosition;
};
