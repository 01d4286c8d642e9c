#include <Platform/LocalSocket/TovikLocalSocket.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

#include <DayvaneWidgetHost/WidgetHostInstance.h>
#include <thread>

// One host per user, and reload requests from other processes and from the extension's own actions.
namespace {

// An extension with no widgets that keeps the reload handler the host gives it.
class HandlerKeeper final : public WidgetExtension {
public:
    std::vector<WidgetConfiguration> widgets() const override { return {}; }
    QVariantMap viewProperties(const WidgetEntry &) const override { return {}; }
    void setReloadHandler(std::function<void(const std::string &)> handler) override { this->handler = handler; }

    std::function<void(const std::string &)> handler;
};

TEST(WidgetHostInstance, OnlyOneHostPerUser)
{
    const std::filesystem::path folder = TovikLocalSocket::ensureFolder();
    ASSERT_FALSE(folder.empty());
    auto first = WidgetHostInstance::claim(folder);
    ASSERT_TRUE(first);
    EXPECT_FALSE(WidgetHostInstance::claim(folder));
    first.reset();
    EXPECT_TRUE(WidgetHostInstance::claim(folder));
}

TEST(WidgetHostInstance, ALockOrSocketThatCannotBeUsedIsNamed)
{
    const std::filesystem::path folder = TovikLocalSocket::ensureFolder();
    ASSERT_FALSE(folder.empty());
    for (const char *name : {"widget-host.lock", "widget-host.socket"}) {
        SCOPED_TRACE(name);
        // A folder with something in it is not ours to clear; a link there is replaced.
        std::filesystem::create_directories(folder / name / "kept");
        std::optional<TovikLocalSocket::Unusable> unusable;
        EXPECT_FALSE(WidgetHostInstance::claim(folder, &unusable));
        ASSERT_TRUE(unusable);
        EXPECT_EQ(unusable->path, folder / name);
        std::filesystem::remove_all(folder / name);
        std::filesystem::create_symlink(folder / "elsewhere", folder / name);
        EXPECT_TRUE(WidgetHostInstance::claim(folder, &unusable));
        EXPECT_FALSE(std::filesystem::exists(folder / "elsewhere"));
    }
}

TEST(WidgetHostInstance, AReloadOnTheSocketNamesItsKind)
{
    auto host = WidgetHostInstance::claim(TovikLocalSocket::ensureFolder());
    ASSERT_TRUE(host);
    QSignalSpy reloads(host.get(), &WidgetHostInstance::reloadRequested);
    // What the application's stopwatch store does after each write.
    WidgetCenter::reloadTimelines("DayvaneStopwatchWidget");
    ASSERT_TRUE(reloads.wait(5000));
    EXPECT_EQ(reloads.at(0).at(0).toString(), QStringLiteral("DayvaneStopwatchWidget"));
}

TEST(WidgetHostInstance, ASecondHostAsksTheRunningOneToShowItselfWithItsToken)
{
    const std::filesystem::path folder = TovikLocalSocket::ensureFolder();
    EXPECT_FALSE(WidgetHostInstance::reopenRunning(folder, {})) << "nobody runs yet";
    auto host = WidgetHostInstance::claim(folder);
    ASSERT_TRUE(host);
    QSignalSpy reopens(host.get(), &WidgetHostInstance::reopenRequested);
    bool answered = false;
    // The second host waits for the answer, which the first gives from its event loop.
    std::thread second([&] { answered = WidgetHostInstance::reopenRunning(folder, "launcher_TIME4242"); });
    ASSERT_TRUE(reopens.wait(5000));
    second.join();
    EXPECT_TRUE(answered);
    EXPECT_EQ(reopens.at(0).at(0).toByteArray(), QByteArray("launcher_TIME4242"));
}

TEST(WidgetHostInstance, TheExtensionsOwnRequestsArriveOnTheGuiThread)
{
    HandlerKeeper extension;
    {
        auto host = WidgetHostInstance::claim(TovikLocalSocket::ensureFolder());
        ASSERT_TRUE(host);
        host->receiveFrom(extension);
        ASSERT_TRUE(extension.handler);
        QThread *receivedOn = nullptr;
        QObject::connect(host.get(), &WidgetHostInstance::reloadRequested, host.get(),
                         [&] { receivedOn = QThread::currentThread(); });
        QSignalSpy reloads(host.get(), &WidgetHostInstance::reloadRequested);
        std::thread action([&] { extension.handler("DayvaneStopwatchWidget"); });
        action.join();
        ASSERT_TRUE(reloads.wait(5000));
        EXPECT_EQ(reloads.at(0).at(0).toString(), QStringLiteral("DayvaneStopwatchWidget"));
        EXPECT_EQ(receivedOn, QThread::currentThread());

        // A request made just before the host goes is dropped with it.
        extension.handler("DayvaneClockWidget");
    }
    EXPECT_FALSE(extension.handler);
    QCoreApplication::processEvents();
}

} // namespace
