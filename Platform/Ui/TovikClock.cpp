#include "TovikClock.h"

#include "TovikTimeChangeWatch.h"

#include <chrono>
#include <utility>

TovikClock &TovikClock::shared()
{
    static auto *clock = new TovikClock;
    return *clock;
}

TovikClock::TovikClock()
{
    auto *watch = new TovikTimeChangeWatch(QStringLiteral("/etc/localtime"), this);
    connect(watch, &TovikTimeChangeWatch::changed, this, &TovikClock::announceAdjustment);
}

double TovikClock::now() const
{
    if (m_source) {
        return m_source();
    }
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

void TovikClock::setSource(Source source)
{
    m_source = std::move(source);
    announceAdjustment();
}

void TovikClock::announceAdjustment()
{
    emit adjusted();
}
