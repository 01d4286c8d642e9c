#pragma once

#include "DayvaneWidgetStore.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikWidgetKit/AppIntent.h>

// The stopwatch widget's reset button: sets the shared stopwatch back to zero, paused.
class ResetDayvaneStopwatchIntent final : public AppIntent {
public:
    explicit ResetDayvaneStopwatchIntent(const StopwatchStore &store = dayvaneWidgetStopwatchStore());

    std::string title() const override;
    void perform(Instant now) const override;

private:
    StopwatchStore m_store;
};
