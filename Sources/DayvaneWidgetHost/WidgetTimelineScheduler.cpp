#include "WidgetTimelineScheduler.h"

#include <Platform/Ui/TovikTickSchedule.h>

WidgetTimelineScheduler::WidgetTimelineScheduler(WidgetConfiguration widget, WidgetFamily family, Clock clock,
                                                 QObject *parent)
    : QObject(parent)
    , m_widget(std::move(widget))
    , m_family(family)
    , m_clock(std::move(clock))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &WidgetTimelineScheduler::reloadWhenDue);
    const Instant now = m_clock();
    m_entry = m_widget.placeholder({m_family, false}, now);
    reload();
}

void WidgetTimelineScheduler::reload()
{
    const Instant now = m_clock();
    const Timeline<WidgetEntry> timeline = m_widget.timeline({m_family, false}, now);
    // A provider that answers with no entry leaves the widget as it was.
    if (!timeline.entries.empty()) {
        m_entry = timeline.entries.front();
    }
    m_nextReload = timeline.policy.after;
    m_timer.stop();
    if (m_nextReload) {
        m_timer.start(TovikTickSchedule::msUntil(now, *m_nextReload));
    }
    emit entryChanged();
}

void WidgetTimelineScheduler::reloadWhenDue()
{
    const Instant now = m_clock();
    // A wait longer than a timer's day comes back early; so does a clock set back meanwhile.
    if (m_nextReload && now < *m_nextReload) {
        m_timer.start(TovikTickSchedule::msUntil(now, *m_nextReload));
        return;
    }
    reload();
}
