#pragma once

#include "WidgetHostStore.h"
#include "WidgetIntentRunner.h"
#include "WidgetSecondTicker.h"

#include <TovikWidgetKit/WidgetExtension.h>

#include <QObject>
#include <QRect>

#include <functional>
#include <memory>
#include <vector>

class PlacedWidgetWindow;
class QQmlEngine;

// The widgets placed on the desktop: brings back what the store remembers, adds, resizes and removes
// widgets, keeps the store up to date with every change and every move, and gives the widgets what they
// share: the one second ticker, the action runner, reloads by kind, and the way out to their URLs.
class WidgetDesktop final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetDesktop)

public:
    using Clock = std::function<Instant()>;

    // As many widgets as a desktop holds: each is a window of its own, and thousands of them would take
    // the machine's memory and time.
    static constexpr std::size_t maxPlacedWidgets = 64;

    WidgetDesktop(QQmlEngine &engine, const WidgetExtension &extension, WidgetHostStore &store, Clock clock,
                  QObject *parent = nullptr);
    ~WidgetDesktop() override;

    // Shows every remembered widget whose kind the extension still offers, where it was, kept on a screen:
    // the first at once, the others one per turn of the event loop, so that the first is on the screen
    // before the others are built. Says restored() when all are there. Past maxPlacedWidgets the rest
    // stay in the store as they are, after the shown ones, and limitReached() says how many.
    void restore();
    // A new widget in the next free slot of the column at the right of the primary screen; at
    // maxPlacedWidgets none, and limitReached() says why.
    void add(const std::string &kind, WidgetFamily family);
    void remove(PlacedWidgetWindow *window);
    // The same widget in another size, at the same place as far as the screen allows.
    void resize(PlacedWidgetWindow *window, WidgetFamily family);
    // Re-asks every placed widget of `kind` for its timeline now.
    void reload(const QString &kind);

    std::vector<PlacedWidgetWindow *> windows() const;

    // The available areas of the screens, the primary screen's first.
    static std::vector<QRect> availableAreas();
    // What the user is told of limitReached().
    static QString limitNotice(std::size_t heldBack);

signals:
    void galleryRequested();
    void restored();
    // The desktop is full: `heldBack` stored widgets are not shown (0 when an added one was refused).
    void limitReached(std::size_t heldBack);

private:
    const WidgetConfiguration *configuration(const std::string &kind) const;
    void restoreNext();
    PlacedWidgetWindow *place(const WidgetConfiguration &widget, WidgetFamily family, QPoint position);
    void showMenu(PlacedWidgetWindow *window, const QPoint &globalPosition);
    void runIntent(PlacedWidgetWindow *window, const QString &name);
    void save();

    QQmlEngine &m_engine;
    const WidgetExtension &m_extension;
    WidgetHostStore &m_store;
    Clock m_clock;
    std::vector<WidgetConfiguration> m_widgets;
    std::vector<std::unique_ptr<PlacedWidgetWindow>> m_windows;
    WidgetSecondTicker m_ticker;
    WidgetIntentRunner m_intents;
    // While restoring: what the store held, how far it is placed, and whether anything changed meanwhile,
    // which is written only once everything is back, so that nothing still to come is lost.
    std::vector<PlacedWidget> m_remembered;
    std::size_t m_nextRemembered = 0;
    bool m_restoring = false;
    bool m_changedWhileRestoring = false;
    // Stored widgets past the limit, kept as they were after the shown ones.
    std::vector<PlacedWidget> m_heldBack;
};
