#include "TovikViewTicker.h"

#include <QEvent>

TovikViewTicker::TovikViewTicker(QWidget *view, int intervalMs, std::function<void()> tick)
    : QObject(view)
    , m_view(view)
    , m_tick(std::move(tick))
{
    m_timer.setInterval(intervalMs);
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_view) {
            m_tick();
        }
    });
    view->installEventFilter(this);
    if (view->isVisible()) {
        start();
    }
}

bool TovikViewTicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::Show) {
            start();
        } else if (event->type() == QEvent::Hide) {
            stop();
        }
    }
    return QObject::eventFilter(watched, event);
}

void TovikViewTicker::start()
{
    m_timer.stop();
    m_tick();
    m_timer.start();
}

void TovikViewTicker::stop()
{
    m_timer.stop();
}
