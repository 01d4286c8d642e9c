#pragma once

#include <TovikWidgetKit/WidgetConfiguration.h>

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>

// Keeps one placed widget's entry current: asks its provider for a timeline and shows the first entry,
// then asks again at the policy's instant (never for a policy without one), or at once on reload().
class WidgetTimelineScheduler final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetTimelineScheduler)

public:
    using Clock = std::function<Instant()>;

    WidgetTimelineScheduler(WidgetConfiguration widget, WidgetFamily family, Clock clock, QObject *parent = nullptr);

    const WidgetConfiguration &widget() const { return m_widget; }
    const WidgetEntry &entry() const { return m_entry; }
    // When the provider is asked again by itself; none for a policy that never reloads.
    std::optional<Instant> nextReload() const { return m_nextReload; }

    // Re-asks the provider now, replacing the scheduled reload.
    void reload();

signals:
    void entryChanged();

private:
    void reloadWhenDue();

    WidgetConfiguration m_widget;
    WidgetFamily m_family;
    Clock m_clock;
    WidgetEntry m_entry;
    std::optional<Instant> m_nextReload;
    QTimer m_timer;
};
