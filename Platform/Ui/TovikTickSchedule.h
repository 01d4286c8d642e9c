#pragma once

// When the next tick of an on-screen time is due, so that it flips with the second it shows.
namespace TovikTickSchedule {

// Milliseconds from `reading` (seconds of the wall clock or of an elapsed time) to its next whole second,
// rounded up so the tick never comes before the flip: 1 to 1000. An unusable reading waits a full second.
int msUntilNextWholeSecond(double reading);
// Milliseconds from `now` until `next` (both in seconds), rounded up, at least 0 and at most a day.
int msUntil(double now, double next);

} // namespace TovikTickSchedule
