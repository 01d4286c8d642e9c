#pragma once

#include <ClockCalendarShared/Instant.h>

#include <QObject>
#include <QTimer>

#include <functional>

// The host's one clock for the live time of every placed widget: the current whole second, moved on by
// one timer armed for the next second boundary, so the host wakes once a second at most.
class WidgetSecondTicker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetSecondTicker)

public:
    using Clock = std::function<Instant()>;

    explicit WidgetSecondTicker(Clock clock, QObject *parent = nullptr);

    // The whole second last read; read again on start().
    double now() const { return m_now; }
    void start();
    void stop();
    bool isRunning() const { return m_timer.isActive(); }

signals:
    void nowChanged(double now);

private:
    void tick();

    Clock m_clock;
    double m_now = 0;
    QTimer m_timer;
};
