#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Work deferred on the main thread after a delay, cancellable until it runs; owned by a view, so it
// dies with the view and never runs after it.
class TovikDeferredTask final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikDeferredTask)
public:
    explicit TovikDeferredTask(QObject *owner);

    // Replaces any pending work.
    void schedule(int delayMs, std::function<void()> work);
    void cancel();
    bool isPending() const { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_work;
};
