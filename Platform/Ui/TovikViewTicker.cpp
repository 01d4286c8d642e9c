#include "TovikViewTicker.h"

#include "TovikClock.h"

#include <QEvent>

TovikViewTicker::TovikViewTicker(QWidget *view, const TovikClock &clock, Tick tick)
    : QObject(view)
    , m_view(view)
    , m_tick(std::move(tick))
{
    m_timer.setSingleShot(true);
    // A coarse timer may fire up to 5 % late, which for a one-second tick is a visibly late flip.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TovikViewTicker::tickNow);
    connect(&clock, &TovikClock::adjusted, this, [this] {
        if (isRunning()) {
            tickNow();
        }
    });
    view->installEventFilter(this);
    if (view->isVisible()) {
        tickNow();
    }
}

bool TovikViewTicker::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        if (event->type() == QEvent::Show) {
            tickNow();
        } else if (event->type() == QEvent::Hide) {
            stop();
        }
    }
    return QObject::eventFilter(watched, event);
}

void TovikViewTicker::tickNow()
{
    m_timer.stop();
    if (m_view) {
        m_timer.start(m_tick());
    }
}

void TovikViewTicker::stop()
{
    m_timer.stop();
}
