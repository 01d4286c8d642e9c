// Drives the application's shared stopwatch from outside, so a test can run it under a stepped wall clock:
// "toggle" starts or pauses it, "elapsed" prints its elapsed seconds now.
#include <ClockCalendarShared/StopwatchState.h>
#include <DayvaneCore/DayvaneStopwatchStore.h>

#include <cstdio>
#include <cstring>
#include <ctime>

int main(int argc, char **argv)
{
    const StopwatchStore &store = DayvaneStopwatchStore::shared();
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const Instant wall = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
    if (argc == 2 && std::strcmp(argv[1], "toggle") == 0) {
        return store.toggle(wall).outcome == StopwatchStore::Outcome::done ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "elapsed") == 0) {
        std::printf("%.3f\n", store.load().elapsed(wall));
        return 0;
    }
    return 2;
}
