#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// A repeating timer owned by a view that runs only while the view is shown in a window: showing the view
// runs `tick` at once and every interval after; hiding it (or the window, or leaving the tab) stops it.
class TovikViewTicker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikViewTicker)
public:
    TovikViewTicker(QWidget *view, int intervalMs, std::function<void()> tick);

    bool isRunning() const { return m_timer.isActive(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void start();
    void stop();

    QPointer<QWidget> m_view;
    QTimer m_timer;
    std::function<void()> m_tick;
};
