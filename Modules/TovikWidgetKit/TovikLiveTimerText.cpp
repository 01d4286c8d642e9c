#include "TovikLiveTimerText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

TovikLiveTimerText::TovikLiveTimerText(QObject *parent)
    : QObject(parent)
{
}

QString TovikLiveTimerText::format(double elapsedSeconds)
{
    // Beyond about 290 billion years the count stops growing rather than overflowing.
    const double whole = std::isfinite(elapsedSeconds) ? std::floor(std::max(elapsedSeconds, 0.0)) : 0.0;
    const auto total = static_cast<std::int64_t>(std::min(whole, 9.0e15));
    const std::int64_t hours = total / 3600;
    const int minutes = static_cast<int>(total / 60 % 60);
    const int seconds = static_cast<int>(total % 60);
    const QString ss = QStringLiteral("%1").arg(seconds, 2, 10, QLatin1Char('0'));
    if (hours == 0) {
        return QStringLiteral("%1:%2").arg(minutes).arg(ss);
    }
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, QLatin1Char('0')).arg(ss);
}

void TovikLiveTimerText::setFrom(double from)
{
    if (from != m_from) {
        m_from = from;
        emit textChanged();
    }
}

void TovikLiveTimerText::setNow(double now)
{
    if (now != m_now) {
        m_now = now;
        emit textChanged();
    }
}

QString TovikLiveTimerText::text() const
{
    return format(m_now - m_from);
}
