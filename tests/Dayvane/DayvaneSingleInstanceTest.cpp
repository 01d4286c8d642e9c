#include <Dayvane/DayvaneSingleInstance.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <future>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using State = DayvaneSingleInstance::State;
using TovikLocalProtocol::Kind;

namespace {

class DayvaneSingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_EQ(::chmod(folder.c_str(), 0700), 0);
    }

    // The instance's side of one hand-over: the line it got, answered with `reply`.
    static std::string serveOnce(TovikLocalListener &listener, const std::string &reply)
    {
        pollfd waiting{listener.fd(), POLLIN, 0};
        if (::poll(&waiting, 1, 10000) != 1) {
            return {};
        }
        const int connection = listener.acceptPeer();
        ::fcntl(connection, F_SETFL, 0);
        std::string line;
        char byte;
        while (::recv(connection, &byte, 1, 0) == 1 && byte != '\n') {
            line += byte;
        }
        ::send(connection, reply.data(), reply.size(), MSG_NOSIGNAL);
        ::close(connection);
        return line;
    }

    static ino_t inodeOf(const fs::path &path)
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
    }

    QTemporaryDir m_folder;
    const fs::path folder = m_folder.path().toStdString();
    const TovikLocalProtocol::Request link{Kind::open, {"dayvane://clock"}, "kwin-1_TIME2"};
};

} // namespace

TEST_F(DayvaneSingleInstanceTest, theFirstProcessBecomesTheInstanceAndListensAtOnce)
{
    DayvaneSingleInstance instance = DayvaneSingleInstance::claim(folder, link);
    EXPECT_EQ(instance.state(), State::instance);
    EXPECT_TRUE(fs::exists(folder / "app.lock"));
    EXPECT_TRUE(fs::is_socket(folder / "app.socket"));
    auto listener = instance.takeListener();
    ASSERT_TRUE(listener);
    EXPECT_EQ(listener->path(), folder / "app.socket");
}

TEST_F(DayvaneSingleInstanceTest, aLaterProcessHandsItsRequestOverAndLeavesTheLiveSocketAlone)
{
    DayvaneSingleInstance instance = DayvaneSingleInstance::claim(folder, link);
    auto listener = instance.takeListener();
    ASSERT_TRUE(listener);
    const ino_t socket = inodeOf(folder / "app.socket");
    auto served = std::async(std::launch::async, [&] { return serveOnce(*listener, "ok\n"); });

    EXPECT_EQ(DayvaneSingleInstance::claim(folder, link).state(), State::handedOver);
    EXPECT_EQ(served.get(), "dayvane1 open activation=kwin-1_TIME2 dayvane://clock");
    EXPECT_EQ(inodeOf(folder / "app.socket"), socket);
}

TEST_F(DayvaneSingleInstanceTest, aLaterProcessWaitsWhileTheInstanceStartsToListen)
{
    std::error_code error;
    auto lock = TovikInstanceLock::tryAcquire(folder / "app.lock", error);
    ASSERT_TRUE(lock);
    // Nobody listens yet: the later process keeps trying instead of taking the lock holder for gone.
    auto later = std::async(std::launch::async, [&] { return DayvaneSingleInstance::claim(folder, link).state(); });

    auto listener = TovikLocalListener::replace(folder / "app.socket");
    ASSERT_TRUE(listener);
    EXPECT_EQ(serveOnce(*listener, "ok\n"), "dayvane1 open activation=kwin-1_TIME2 dayvane://clock");
    EXPECT_EQ(later.get(), State::handedOver);
}

TEST_F(DayvaneSingleInstanceTest, whenTheInstanceEndsTheWaitingProcessTakesOver)
{
    auto instance = std::make_unique<DayvaneSingleInstance>(DayvaneSingleInstance::claim(folder, link));
    auto listener = instance->takeListener();
    auto later = std::async(std::launch::async, [&] { return DayvaneSingleInstance::claim(folder, link); });
    // The instance ends without answering, as one that quits while a request is on its way.
    pollfd waiting{listener->fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&waiting, 1, 10000), 1);
    listener.reset();
    instance.reset();

    DayvaneSingleInstance next = later.get();
    EXPECT_EQ(next.state(), State::instance);
    EXPECT_TRUE(next.takeListener());
}

TEST_F(DayvaneSingleInstanceTest, aStaleSocketIsReplaced)
{
    {
        std::ofstream leftover(folder / "app.socket");
    }
    DayvaneSingleInstance instance = DayvaneSingleInstance::claim(folder, link);
    EXPECT_EQ(instance.state(), State::instance);
    EXPECT_TRUE(fs::is_socket(folder / "app.socket"));
}

TEST_F(DayvaneSingleInstanceTest, anInstanceThatDoesNotTakeTheRequestIsGivenUpOn)
{
    DayvaneSingleInstance instance = DayvaneSingleInstance::claim(folder, link);
    auto listener = instance.takeListener();
    auto refusing = std::async(std::launch::async, [&] { return serveOnce(*listener, "error version\n"); });
    EXPECT_EQ(DayvaneSingleInstance::claim(folder, link).state(), State::unanswered);
    EXPECT_FALSE(refusing.get().empty());

    EXPECT_EQ(DayvaneSingleInstance::claim(folder, link, 30ms).state(), State::unanswered);
}

TEST_F(DayvaneSingleInstanceTest, withoutARuntimeFolderTheProcessRunsAlone)
{
    EXPECT_EQ(DayvaneSingleInstance::claim({}, link).state(), State::alone);
}

TEST_F(DayvaneSingleInstanceTest, whatCannotBeUsedIsNamedNeverRunBeside)
{
    struct Case {
        fs::path blocked; // a folder with something in it, which is not ours to clear
        fs::path named;
    };
    const Case cases[] = {
        {folder / "app.lock", folder / "app.lock"},
        {folder / "app.socket", folder / "app.socket"},
        {{}, folder / "missing" / "app.lock"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.named);
        if (!c.blocked.empty()) {
            fs::create_directories(c.blocked / "kept");
        }
        const fs::path in = c.blocked.empty() ? c.named.parent_path() : folder;
        DayvaneSingleInstance instance = DayvaneSingleInstance::claim(in, link);
        EXPECT_EQ(instance.state(), State::refused);
        ASSERT_TRUE(instance.unusable());
        EXPECT_EQ(instance.unusable()->path, c.named);
        EXPECT_FALSE(instance.takeListener());
        std::error_code ignored;
        fs::remove_all(c.blocked, ignored);
        EXPECT_FALSE(fs::exists(folder / "app.lock")) << "nothing is held after a refusal";
    }
}

TEST_F(DayvaneSingleInstanceTest, aLinkAtTheLockIsReplacedNotFollowed)
{
    const fs::path elsewhere = folder / "elsewhere";
    fs::create_symlink(elsewhere, folder / "app.lock");
    DayvaneSingleInstance instance = DayvaneSingleInstance::claim(folder, link);
    EXPECT_EQ(instance.state(), State::instance);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / "app.lock")));
    EXPECT_FALSE(fs::exists(elsewhere));
}

TEST_F(DayvaneSingleInstanceTest, aRuntimeFolderThatCannotBeHadIsNamed)
{
    const QByteArray old = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(folder.string()));
    std::ofstream(folder / "dayvane") << "not a folder";
    DayvaneSingleInstance instance = DayvaneSingleInstance::claim(link);
    EXPECT_EQ(instance.state(), State::refused);
    ASSERT_TRUE(instance.unusable());
    EXPECT_EQ(instance.unusable()->path, folder / "dayvane");
    qputenv("XDG_RUNTIME_DIR", old);
}
