#include "TemporaryFolder.h"

#include <Platform/WidgetCenter/WidgetCenter.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A host stand-in: a Unix socket at the host's path in a temporary runtime folder.
class WidgetCenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char *old = std::getenv("XDG_RUNTIME_DIR")) {
            m_oldRuntime = old;
        }
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        fs::create_directory(runtime / "dayvane");
        ::chmod((runtime / "dayvane").c_str(), 0700);
    }
    void TearDown() override
    {
        for (int fd : m_fds) {
            ::close(fd);
        }
        WidgetCenter::setInProcessHandler({});
        m_oldRuntime ? ::setenv("XDG_RUNTIME_DIR", m_oldRuntime->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    }

    // Binds the host socket; listens with the given queue length unless `listening` is false.
    int bindHostSocket(bool listening, int backlog = 8)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        m_fds.push_back(fd);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = WidgetCenter::hostSocketPath();
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0) << std::strerror(errno);
        if (listening) {
            EXPECT_EQ(::listen(fd, backlog), 0);
        }
        return fd;
    }

    // Everything the next waiting client wrote before closing, or none when no client is waiting.
    std::optional<std::string> acceptMessage(int listener)
    {
        const int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            return std::nullopt;
        }
        std::string message;
        char buffer[256];
        ssize_t count;
        while ((count = ::read(client, buffer, sizeof buffer)) > 0) {
            message.append(buffer, static_cast<std::size_t>(count));
        }
        ::close(client);
        return message;
    }

    TemporaryFolder runtime;

private:
    std::optional<std::string> m_oldRuntime;
    std::vector<int> m_fds;
};

} // namespace

TEST_F(WidgetCenterTest, HostSocketLivesInTheRuntimeFolder)
{
    EXPECT_EQ(WidgetCenter::hostSocketPath(), runtime / "dayvane" / "widget-host.socket");
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(WidgetCenter::hostSocketPath().empty());
    WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
}

TEST_F(WidgetCenterTest, ListeningHostReceivesOneReloadLine)
{
    const int listener = bindHostSocket(true);
    WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
    WidgetCenter::reloadTimelines("DayvaneClockWidget");
    EXPECT_EQ(acceptMessage(listener), "dayvane1 reload DayvaneStopwatchWidget\n");
    EXPECT_EQ(acceptMessage(listener), "dayvane1 reload DayvaneClockWidget\n");
    EXPECT_EQ(acceptMessage(listener), std::nullopt);
}

TEST_F(WidgetCenterTest, KindThatWouldBreakTheLineStaysOneWord)
{
    const int listener = bindHostSocket(true);
    WidgetCenter::reloadTimelines("");
    WidgetCenter::reloadTimelines("Two\nLines");
    WidgetCenter::reloadTimelines("Carriage\rReturn");
    EXPECT_EQ(acceptMessage(listener), "dayvane1 reload Two%0ALines\n");
    EXPECT_EQ(acceptMessage(listener), "dayvane1 reload Carriage%0DReturn\n");
    EXPECT_EQ(acceptMessage(listener), std::nullopt) << "an empty kind is not sent";
}

TEST_F(WidgetCenterTest, NoHostMeansNothingHappens)
{
    // No socket file at all.
    WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
    // A socket file nobody listens on.
    bindHostSocket(false);
    WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
    EXPECT_TRUE(fs::is_socket(WidgetCenter::hostSocketPath()));
}

TEST_F(WidgetCenterTest, HostThatDoesNotAcceptDoesNotHoldTheCallerUp)
{
    // A queue of one that is already full: the request must give up rather than wait for the host.
    const int listener = bindHostSocket(true, 0);
    for (int i = 0; i < 4; ++i) {
        WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
    }
    int accepted = 0;
    while (acceptMessage(listener)) {
        ++accepted;
    }
    EXPECT_GE(accepted, 1);
    EXPECT_LT(accepted, 4);
}

TEST_F(WidgetCenterTest, InProcessHandlerTakesThePlaceOfTheSocket)
{
    const int listener = bindHostSocket(true);
    std::vector<std::string> kinds;
    WidgetCenter::setInProcessHandler([&](const std::string &kind) { kinds.push_back(kind); });
    WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
    EXPECT_EQ(kinds, std::vector<std::string>{"DayvaneStopwatchWidget"});
    EXPECT_EQ(acceptMessage(listener), std::nullopt);

    WidgetCenter::setInProcessHandler({});
    WidgetCenter::reloadTimelines("DayvaneCalendarWidget");
    EXPECT_EQ(kinds.size(), 1u);
    EXPECT_EQ(acceptMessage(listener), "dayvane1 reload DayvaneCalendarWidget\n");
}
