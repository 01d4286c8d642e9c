#pragma once

#include <ClockCalendarShared/StopwatchStore.h>

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

// The stopwatch store as the user-interface thread drives it, never waiting more than a few milliseconds for
// a lock another process holds: a read that cannot get in keeps the last state, and a toggle or reset that
// cannot be written now is kept and written, in order, as soon as the lock frees.
class StopwatchActionQueue final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StopwatchActionQueue)
public:
    // How often kept actions try the lock again.
    static constexpr int retryIntervalMs = 40;

    StopwatchActionQueue(StopwatchStore store, QObject *owner);

    // Re-reads the suite and returns what to show: the stored state with the kept actions applied on top, so
    // that a press shows at once.
    StopwatchState refresh();
    // A toggle keeps the instant of the press, however late it is written.
    void toggle(Instant now);
    void reset();
    bool isWaiting() const { return !m_waiting.empty(); }

    // Runs when kept actions were written later (or given up on a suite that cannot be written at all).
    std::function<void()> onSettled;

private:
    struct Action {
        bool resets = false;
        Instant at = 0;
    };

    void add(const Action &action);
    // Writes kept actions, oldest first, until the lock is busy; tells whether any was settled.
    bool drain();
    StopwatchState shown() const;

    StopwatchStore m_store;
    StopwatchState m_stored;
    std::deque<Action> m_waiting;
    QTimer m_retry;
};
