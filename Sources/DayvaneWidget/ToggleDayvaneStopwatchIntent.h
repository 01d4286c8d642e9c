#pragma once

#include "DayvaneWidgetStore.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikWidgetKit/AppIntent.h>

// The stopwatch widget's start/pause button: toggles the shared stopwatch at the instant it is pressed.
class ToggleDayvaneStopwatchIntent final : public AppIntent {
public:
    explicit ToggleDayvaneStopwatchIntent(const StopwatchStore &store = dayvaneWidgetStopwatchStore());

    std::string title() const override;
    void perform(Instant now) const override;

private:
    StopwatchStore m_store;
};
