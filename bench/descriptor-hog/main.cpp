// Holds many silent connections open on a per-user socket, measures the listening process's CPU meanwhile,
// then lets them all go and times how soon a request is answered again.
// Usage: dayvane-descriptor-hog SOCKET PID CONNECTIONS
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// User and system time of a process, in clock ticks.
long long cpuTicks(const std::string &pid)
{
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command's closing parenthesis; utime and stime are the 12th and 13th of them.
    std::string rest = line.substr(line.rfind(')') + 2);
    long long ticks = 0;
    std::size_t start = 0;
    for (int field = 1; field <= 13; ++field) {
        const std::size_t end = rest.find(' ', start);
        if (field >= 12) {
            ticks += std::atoll(rest.substr(start, end - start).c_str());
        }
        start = end + 1;
    }
    return ticks;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fputs("usage: dayvane-descriptor-hog SOCKET PID CONNECTIONS\n", stderr);
        return 2;
    }
    const std::filesystem::path socket = argv[1];
    const std::string pid = argv[2];
    const int count = std::atoi(argv[3]);
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);

    sockaddr_un address{};
    TovikLocalSocket::fillAddress(socket, address);
    std::vector<int> held;
    for (int i = 0; i < count; ++i) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
            std::fprintf(stderr, "connection %d failed\n", i);
            return 1;
        }
        held.push_back(fd);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long long before = cpuTicks(pid);
    const auto started = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    const double cpu =
        100.0 * static_cast<double>(cpuTicks(pid) - before) / static_cast<double>(::sysconf(_SC_CLK_TCK)) / seconds;

    for (const int fd : held) {
        ::close(fd);
    }
    const auto freed = Clock::now();
    while (TovikLocalSocket::exchange(socket, "dayvane1 reopen\n", std::chrono::milliseconds(100)) != "ok") {
        if (Clock::now() - freed > std::chrono::seconds(10)) {
            std::puts("no answer within 10 s");
            return 1;
        }
    }
    const double recovery = std::chrono::duration<double, std::milli>(Clock::now() - freed).count();
    std::printf("CPU while held: %.1f %%; answered %.1f ms after the connections were let go\n", cpu, recovery);
    return 0;
}
