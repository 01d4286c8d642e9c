#pragma once

#include "AccessibleLookup.h"

#include <ClockCalendarFeature/StopwatchControlButton.h>
#include <ClockCalendarFeature/StopwatchView.h>

#include <QWidget>

// The stopwatch's parts under `root`, found by the names they read out.

// The digits. Their name comes from the program's screen-reader faces, which a test installs as the program
// does, before it builds any view (ClockCalendarAccessibility::install).
inline StopwatchView *stopwatchDisplay(const QWidget &root)
{
    return findByAccessibleName<StopwatchView>(root, QStringLiteral("计时器"));
}

// The round buttons. The toggle is named after what it does next, so it answers to any of its three names.
inline StopwatchControlButton *stopwatchToggleButton(const QWidget &root)
{
    for (const QString &name : {QStringLiteral("开始"), QStringLiteral("继续"), QStringLiteral("暂停")}) {
        if (auto *button = findByAccessibleName<StopwatchControlButton>(root, name)) {
            return button;
        }
    }
    return nullptr;
}

inline StopwatchControlButton *stopwatchResetButton(const QWidget &root)
{
    return findByAccessibleName<StopwatchControlButton>(root, QStringLiteral("重置"));
}
