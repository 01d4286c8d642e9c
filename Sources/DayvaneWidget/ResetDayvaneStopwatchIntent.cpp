#include "ResetDayvaneStopwatchIntent.h"

ResetDayvaneStopwatchIntent::ResetDayvaneStopwatchIntent(const StopwatchStore &store)
    : m_store(store)
{
}

std::string ResetDayvaneStopwatchIntent::title() const
{
    return "清零计时";
}

void ResetDayvaneStopwatchIntent::perform(Instant) const
{
    m_store.reset();
}
