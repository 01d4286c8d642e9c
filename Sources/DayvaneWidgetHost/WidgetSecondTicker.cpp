#include "WidgetSecondTicker.h"

#include <Platform/Ui/TovikTickSchedule.h>

#include <cmath>

WidgetSecondTicker::WidgetSecondTicker(Clock clock, QObject *parent)
    : QObject(parent)
    , m_clock(std::move(clock))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WidgetSecondTicker::tick);
}

void WidgetSecondTicker::start()
{
    tick();
}

void WidgetSecondTicker::stop()
{
    m_timer.stop();
}

void WidgetSecondTicker::tick()
{
    const Instant reading = m_clock();
    const double second = std::floor(reading);
    if (second != m_now) {
        m_now = second;
        emit nowChanged(m_now);
    }
    m_timer.start(TovikTickSchedule::msUntilNextWholeSecond(reading));
}
