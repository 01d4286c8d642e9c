#include "TemporaryFolder.h"

#include <Platform/LocalSocket/TovikInstanceLock.h>
#include <Platform/LocalSocket/TovikLocalListener.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr uid_t nobody = 65534;

class TovikLocalSocketTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char *old = std::getenv("XDG_RUNTIME_DIR")) {
            m_oldRuntime = old;
        }
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    void TearDown() override
    {
        m_oldRuntime ? ::setenv("XDG_RUNTIME_DIR", m_oldRuntime->c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
    }

    // Serves one connection on its own thread: reads a line and answers `reply`.
    static std::thread answerOnce(TovikLocalListener &listener, std::string reply, std::string &received)
    {
        return std::thread([&listener, reply, &received] {
            pollfd waiting{listener.fd(), POLLIN, 0};
            if (::poll(&waiting, 1, 10000) != 1) {
                return;
            }
            const int connection = listener.acceptPeer();
            ::fcntl(connection, F_SETFL, 0);
            char byte;
            while (::recv(connection, &byte, 1, 0) == 1) {
                received += byte;
                if (byte == '\n') {
                    break;
                }
            }
            ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
            ::close(connection);
        });
    }

    TemporaryFolder runtime;

private:
    std::optional<std::string> m_oldRuntime;
};

// Runs `work` in a child process of the user nobody; its exit status is the test's outcome there.
int asNobody(const std::function<int()> &work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(::setgid(nobody) == 0 && ::setuid(nobody) == 0 ? work() : 99);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(TovikLocalSocketTest, theFolderIsOnlyEverTheUsers)
{
    const fs::path folder = runtime / "dayvane";
    EXPECT_EQ(TovikLocalSocket::folder(), folder);
    EXPECT_EQ(TovikLocalSocket::ensureFolder(), folder);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);

    // A folder left wider than it should be is narrowed.
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(TovikLocalSocket::ensureFolder(), folder);
    EXPECT_EQ(fs::status(folder).permissions() & fs::perms::all, fs::perms::owner_all);

    for (const char *unusable : {"", "relative/runtime"}) {
        ::setenv("XDG_RUNTIME_DIR", unusable, 1);
        std::optional<TovikLocalSocket::Unusable> problem;
        EXPECT_TRUE(TovikLocalSocket::folder().empty());
        EXPECT_TRUE(TovikLocalSocket::ensureFolder(&problem).empty());
        EXPECT_FALSE(problem) << "without a runtime folder there is nothing to refuse";
    }
}

TEST_F(TovikLocalSocketTest, whatStandsInTheFoldersPlaceIsMendedOrNamed)
{
    const fs::path folder = runtime / "dayvane";
    const fs::path elsewhere = runtime / "elsewhere";
    struct Case {
        const char *what;
        std::function<void()> make;
        const char *reason; // empty when the folder is mended
    };
    const Case cases[] = {
        {"a link, in a runtime folder of ours alone",
         [&] {
             fs::create_directory(elsewhere);
             fs::create_directory_symlink(elsewhere, folder);
         },
         ""},
        {"a dangling link", [&] { fs::create_directory_symlink(runtime / "gone", folder); }, ""},
        {"a link, in a runtime folder others may enter",
         [&] {
             fs::create_directory(elsewhere);
             fs::create_directory_symlink(elsewhere, folder);
             ::chmod(runtime.path().c_str(), 0755);
         },
         "符号链接"},
        {"a file", [&] { std::ofstream(folder) << "kept"; }, "不是文件夹"},
        {"another user's folder",
         [&] {
             fs::create_directory(folder);
             ASSERT_EQ(::chown(folder.c_str(), nobody, nobody), 0);
         },
         "另一个用户"},
        {"a runtime folder that is missing", [&] { ::setenv("XDG_RUNTIME_DIR", (runtime / "gone").c_str(), 1); },
         "不存在"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "another user's folder" && ::geteuid() != 0) {
            continue;
        }
        c.make();
        std::optional<TovikLocalSocket::Unusable> problem;
        const fs::path got = TovikLocalSocket::ensureFolder(&problem);
        if (*c.reason == '\0') {
            EXPECT_EQ(got, folder);
            EXPECT_FALSE(problem);
            EXPECT_TRUE(fs::is_directory(fs::symlink_status(folder)));
            EXPECT_TRUE(!fs::exists(elsewhere) || fs::is_empty(elsewhere)) << "the link was not followed";
        } else {
            EXPECT_TRUE(got.empty());
            ASSERT_TRUE(problem);
            EXPECT_EQ(problem->path, TovikLocalSocket::folder());
            EXPECT_NE(problem->reason.find(c.reason), std::string::npos) << problem->reason;
            EXPECT_NE(problem->message().find(problem->path.string()), std::string::npos);
        }
        ::chmod(runtime.path().c_str(), 0700);
        ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
        fs::remove_all(folder);
        fs::remove_all(elsewhere);
    }
}

TEST_F(TovikLocalSocketTest, aLineGoesToTheListenerAndItsReplyComesBack)
{
    const fs::path folder = TovikLocalSocket::ensureFolder();
    auto listener = TovikLocalListener::replace(folder / "app.socket");
    ASSERT_TRUE(listener);
    std::string received;
    std::thread server = answerOnce(*listener, "ok\n", received);
    EXPECT_EQ(TovikLocalSocket::exchange(folder / "app.socket", "dayvane1 reopen\n", 5s), "ok");
    server.join();
    EXPECT_EQ(received, "dayvane1 reopen\n");
}

TEST_F(TovikLocalSocketTest, theClientGivesUpWithinItsBudget)
{
    const fs::path folder = TovikLocalSocket::ensureFolder();
    // Nobody there, and a socket file nobody listens on.
    EXPECT_EQ(TovikLocalSocket::exchange(folder / "app.socket", "dayvane1 reopen\n", 5s), std::nullopt);
    EXPECT_FALSE(TovikLocalSocket::post(folder / "app.socket", "dayvane1 reopen\n", 5s));
    {
        auto gone = TovikLocalListener::replace(folder / "app.socket");
    }
    const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    ASSERT_TRUE(TovikLocalSocket::fillAddress(folder / "app.socket", address));
    ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    EXPECT_FALSE(TovikLocalSocket::post(folder / "app.socket", "dayvane1 reopen\n", 5s));

    // A listener that takes the line but never answers holds the client up only for the budget.
    auto listener = TovikLocalListener::replace(folder / "app.socket");
    ASSERT_TRUE(listener);
    EXPECT_TRUE(TovikLocalSocket::post(folder / "app.socket", "dayvane1 reopen\n", 5s));
    EXPECT_EQ(TovikLocalSocket::exchange(folder / "app.socket", "dayvane1 reopen\n", 20ms), std::nullopt);
    ::close(stale);

    EXPECT_FALSE(TovikLocalSocket::post(runtime / std::string(200, 'x'), "dayvane1 reopen\n", 5s))
        << "a path too long for a socket address";
}

TEST_F(TovikLocalSocketTest, aListenerReplacesAStaleFileAndRemovesOnlyItsOwn)
{
    const fs::path folder = TovikLocalSocket::ensureFolder();
    const fs::path socket = folder / "app.socket";
    {
        std::ofstream leftover(socket);
    }
    auto first = TovikLocalListener::replace(socket);
    ASSERT_TRUE(first);
    EXPECT_TRUE(fs::is_socket(socket));
    first.reset();
    EXPECT_FALSE(fs::exists(socket)) << "a listener takes its socket file with it";

    auto older = TovikLocalListener::replace(socket);
    auto newer = TovikLocalListener::replace(socket);
    ASSERT_TRUE(older && newer);
    older.reset();
    EXPECT_TRUE(fs::is_socket(socket)) << "the file of the listener that replaced it stays";
    std::string received;
    std::thread server = answerOnce(*newer, "ok\n", received);
    EXPECT_EQ(TovikLocalSocket::exchange(socket, "dayvane1 reopen\n", 5s), "ok");
    server.join();
}

TEST_F(TovikLocalSocketTest, aSocketFileIsTheUsersAloneWhateverTheUmask)
{
    const fs::path socket = TovikLocalSocket::ensureFolder() / "app.socket";
    const mode_t old = ::umask(0);
    auto listener = TovikLocalListener::replace(socket);
    ::umask(old);
    ASSERT_TRUE(listener);
    struct stat info {};
    ASSERT_EQ(::stat(socket.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(TovikLocalSocketTest, peersOfAnotherUserAreNeitherServedNorBelieved)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to act as another user";
    }
    // A folder both users may enter, so that only the credentials check stands between them.
    const fs::path shared = runtime / "shared";
    fs::create_directory(shared);
    ::chmod(runtime.path().c_str(), 0755);
    ::chmod(shared.c_str(), 0777);
    const fs::path ours = shared / "ours.socket";
    auto listener = TovikLocalListener::replace(ours);
    ASSERT_TRUE(listener);
    ::chmod(ours.c_str(), 0777);

    // The stranger's connection is closed, never handed out; the listener then serves our own.
    EXPECT_EQ(asNobody([&] {
                  sockaddr_un address{};
                  TovikLocalSocket::fillAddress(ours, address);
                  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                  return ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
                                 && ::send(fd, "dayvane1 reopen\n", 16, MSG_NOSIGNAL) == 16
                             ? 0
                             : 1;
              }),
              0);
    EXPECT_EQ(listener->acceptPeer(), -1);
    std::string received;
    std::thread server = answerOnce(*listener, "ok\n", received);
    EXPECT_EQ(TovikLocalSocket::exchange(ours, "dayvane1 reopen\n", 5s), "ok");
    server.join();

    // A stranger's listener at a path we would use is not mistaken for ours.
    const fs::path theirs = shared / "theirs.socket";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t stranger = ::fork();
    if (stranger == 0) {
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            ::_exit(99);
        }
        auto strangers = TovikLocalListener::replace(theirs);
        if (!strangers || ::fcntl(strangers->fd(), F_SETFL, 0) != 0 || ::write(ready[1], "x", 1) != 1) {
            ::_exit(98);
        }
        for (;;) {
            const int connection = ::accept(strangers->fd(), nullptr, nullptr);
            ::send(connection, "ok\n", 3, MSG_NOSIGNAL);
        }
    }
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    EXPECT_EQ(TovikLocalSocket::exchange(theirs, "dayvane1 reopen\n", 5s), std::nullopt);
    ::kill(stranger, SIGKILL);
    ::waitpid(stranger, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST_F(TovikLocalSocketTest, theLockHasOneHolderAndItsFileGoesWithIt)
{
    const fs::path file = TovikLocalSocket::ensureFolder() / "app.lock";
    std::error_code error;
    auto holder = TovikInstanceLock::tryAcquire(file, error);
    ASSERT_TRUE(holder);
    EXPECT_FALSE(error);
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_EQ(TovikInstanceLock::tryAcquire(file, error), nullptr);
    EXPECT_FALSE(error) << "held elsewhere is not a failure";

    holder.reset();
    EXPECT_FALSE(fs::exists(file));
    auto next = TovikInstanceLock::tryAcquire(file, error);
    EXPECT_TRUE(next) << "the next process takes it over";

    EXPECT_EQ(TovikInstanceLock::tryAcquire(runtime / "missing" / "app.lock", error), nullptr);
    EXPECT_TRUE(error) << "a folder that is not there is a failure, not a holder";
}

TEST_F(TovikLocalSocketTest, oddThingsAtTheLockAndSocketPathsAreRemovedNeverFollowed)
{
    const fs::path folder = TovikLocalSocket::ensureFolder();
    const fs::path target = runtime / "target";
    struct Case {
        const char *what;
        std::function<void(const fs::path &)> make;
        int error; // 0 when the path is mended
    };
    const Case cases[] = {
        {"a link to a file", [&](const fs::path &path) { fs::create_symlink(target, path); }, 0},
        {"a dangling link", [&](const fs::path &path) { fs::create_symlink(runtime / "gone", path); }, 0},
        {"a pipe", [](const fs::path &path) { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, 0},
        {"an empty folder", [](const fs::path &path) { fs::create_directory(path); }, 0},
        {"a folder with something in it",
         [](const fs::path &path) {
             fs::create_directory(path);
             std::ofstream(path / "kept") << "kept";
         },
         ENOTEMPTY},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(target) << "untouched";
        for (const char *name : {"app.lock", "app.socket"}) {
            SCOPED_TRACE(name);
            const fs::path path = folder / name;
            c.make(path);
            std::error_code error;
            const bool mended = std::string(name) == "app.lock" ? TovikInstanceLock::tryAcquire(path, error) != nullptr
                                                                : TovikLocalListener::replace(path, &error) != nullptr;
            EXPECT_EQ(mended, c.error == 0);
            EXPECT_EQ(error.value(), c.error);
            if (c.error != 0) {
                EXPECT_EQ(TovikLocalSocket::reasonOf(error), "是一个不空的文件夹");
            }
            fs::remove_all(path);
        }
        std::ifstream kept(target);
        std::string text;
        kept >> text;
        EXPECT_EQ(text, "untouched");
    }
}

TEST_F(TovikLocalSocketTest, aCrashedHolderLeavesTheLockFree)
{
    const fs::path file = TovikLocalSocket::ensureFolder() / "app.lock";
    int locked[2];
    ASSERT_EQ(::pipe(locked), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        std::error_code error;
        auto lock = TovikInstanceLock::tryAcquire(file, error);
        if (::write(locked[1], lock ? "1" : "0", 1) == 1) {
            ::pause();
        }
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(locked[0], &byte, 1), 1);
    ASSERT_EQ(byte, '1');
    std::error_code error;
    EXPECT_EQ(TovikInstanceLock::tryAcquire(file, error), nullptr);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_TRUE(fs::exists(file)) << "a crash removes nothing";
    EXPECT_TRUE(TovikInstanceLock::tryAcquire(file, error));
    ::close(locked[0]);
    ::close(locked[1]);
}
