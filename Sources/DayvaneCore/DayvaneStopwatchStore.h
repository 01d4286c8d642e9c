#pragma once

#include <ClockCalendarShared/StopwatchStore.h>

// The one stopwatch store of each deliverable.
namespace DayvaneStopwatchStore {

// The shared suite "K9PZQW41RT.local.tovik.dayvane", prefix "dayvane.stopwatch", reloading the stopwatch
// widget after every write; opened once per process on first use.
const StopwatchStore &shared();

} // namespace DayvaneStopwatchStore
