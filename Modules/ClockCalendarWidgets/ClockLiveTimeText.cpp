#include "ClockLiveTimeText.h"

#include "ClockWidget.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>

ClockLiveTimeText::ClockLiveTimeText(QObject *parent)
    : QObject(parent)
{
}

void ClockLiveTimeText::setNow(double now)
{
    if (now == m_now) {
        return;
    }
    m_now = now;
    // A zone changed while the widget shows is followed at its next second, as the application's clock does.
    TovikGregorianCalendar::followHostZone();
    m_text = QString::fromStdString(clockWidgetTimeText(now));
    emit textChanged();
}
