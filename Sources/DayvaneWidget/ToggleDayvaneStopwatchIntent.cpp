#include "ToggleDayvaneStopwatchIntent.h"

ToggleDayvaneStopwatchIntent::ToggleDayvaneStopwatchIntent(const StopwatchStore &store)
    : m_store(store)
{
}

std::string ToggleDayvaneStopwatchIntent::title() const
{
    return "开始或暂停计时";
}

void ToggleDayvaneStopwatchIntent::perform(Instant now) const
{
    // The store re-reads the suite, so a change made by the application since is toggled, not overwritten.
    m_store.toggle(now);
}
