#pragma once

#include <csignal>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// An Xvfb of its own on a free display, for the life of the object.
class VirtualDisplay {
public:
    VirtualDisplay()
    {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            const std::string fd = std::to_string(ready[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                     static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(ready[1]);
        // Xvfb writes its display number once it accepts connections.
        pollfd waiting{ready[0], POLLIN, 0};
        char byte = 0;
        std::string number;
        while (::poll(&waiting, 1, 20000) > 0 && ::read(ready[0], &byte, 1) == 1 && byte != '\n') {
            number += byte;
        }
        ::close(ready[0]);
        if (!number.empty()) {
            m_name.push_back(':');
            m_name.append(number);
        }
    }
    ~VirtualDisplay()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    VirtualDisplay(const VirtualDisplay &) = delete;
    VirtualDisplay &operator=(const VirtualDisplay &) = delete;

    // ":N", or empty when Xvfb did not start.
    const std::string &name() const { return m_name; }

private:
    pid_t m_pid = -1;
    std::string m_name;
};

// The first of `programs` (full paths) that is not installed; none when scripts/install-deps put them all there.
inline std::optional<std::string> missingProgram(std::initializer_list<const char *> programs)
{
    for (const char *program : programs) {
        if (!std::filesystem::exists(program)) {
            return program;
        }
    }
    return std::nullopt;
}

// openbox for the display in DISPLAY. It reads its theme from the system's data folders, which the test
// environment points elsewhere, so it starts without XDG_DATA_DIRS.
inline std::vector<std::string> openboxCommand()
{
    return {"env", "-u", "XDG_DATA_DIRS", "openbox", "--sm-disable"};
}
