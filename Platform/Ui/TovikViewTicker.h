#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class TovikClock;

// A tick owned by a view that runs only while the view is shown in a window: showing the view ticks at once;
// each tick refreshes the view and says how long until the next one (the next whole second of what it
// shows, or the next midnight), for which one precise single-shot timer is armed. So the display changes
// with the second it shows and the process wakes for nothing else. Hiding the view (or the window, or
// leaving the tab) stops it; a jump of the view's clock (TovikClock::adjusted) ticks at once.
class TovikViewTicker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikViewTicker)
public:
    // Refreshes the view; returns the milliseconds until the next tick is due.
    using Tick = std::function<int()>;

    TovikViewTicker(QWidget *view, const TovikClock &clock, Tick tick);

    bool isRunning() const { return m_timer.isActive(); }
    // The delay the last tick asked for.
    int scheduledDelayMs() const { return m_timer.interval(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tickNow();
    void stop();

    QPointer<QWidget> m_view;
    QTimer m_timer;
    Tick m_tick;
};
