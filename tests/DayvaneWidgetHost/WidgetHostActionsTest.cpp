#include <Platform/LocalSocket/TovikLocalListener.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QDesktopServices>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <DayvaneWidgetHost/WidgetIntentRunner.h>
#include <DayvaneWidgetHost/WidgetUrlOpener.h>
#include <atomic>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

// What the host does for a widget's buttons and for a click elsewhere on it.
namespace {

class RecordingIntent final : public AppIntent {
public:
    explicit RecordingIntent(std::string title)
        : m_title(std::move(title))
    {
    }
    std::string title() const override { return m_title; }
    void perform(Instant now) const override
    {
        const std::lock_guard lock(mutex);
        threads.push_back(QThread::currentThread());
        instants.push_back(now);
    }

    mutable std::mutex mutex;
    mutable std::vector<QThread *> threads;
    mutable std::vector<Instant> instants;

private:
    std::string m_title;
};

TEST(WidgetIntentRunner, RunsEachActionOffTheGuiThreadInTheOrderPressed)
{
    WidgetIntentRunner runner;
    QSignalSpy finished(&runner, &WidgetIntentRunner::finished);
    const auto toggle = std::make_shared<RecordingIntent>("开始或暂停计时");
    runner.run(toggle, 1000);
    runner.run(toggle, 1001);
    runner.run(nullptr, 1002);
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished.count() == 2; }, 5000));
    EXPECT_EQ(finished.at(0).at(0).toString(), QStringLiteral("开始或暂停计时"));
    const std::lock_guard lock(toggle->mutex);
    EXPECT_EQ(toggle->instants, (std::vector<Instant>{1000, 1001}));
    for (QThread *thread : toggle->threads) {
        EXPECT_NE(thread, QThread::currentThread());
    }
}

// Stands in for the desktop's handler of dayvane: links, through Qt's own hook for it.
class DesktopHandler final : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void handle(const QUrl &url) { opened.push_back(url); }
};

TEST(WidgetUrlOpener, TheRunningApplicationGetsTheLinkElseTheDesktop)
{
    DesktopHandler desktop;
    QDesktopServices::setUrlHandler(QStringLiteral("dayvane"), &desktop, "handle");

    // No application: the desktop's handler opens it.
    EXPECT_TRUE(WidgetUrlOpener::open(QStringLiteral("dayvane://clock")));
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0], QUrl(QStringLiteral("dayvane://clock")));

    // A running application answers on its socket, and the desktop is not asked.
    const std::filesystem::path folder = TovikLocalSocket::ensureFolder();
    ASSERT_FALSE(folder.empty());
    auto listener = TovikLocalListener::replace(folder / "app.socket");
    ASSERT_TRUE(listener);
    std::string received;
    std::thread application([&] {
        pollfd waiting{listener->fd(), POLLIN, 0};
        ASSERT_EQ(::poll(&waiting, 1, 10000), 1);
        const int connection = listener->acceptPeer();
        ASSERT_GE(connection, 0);
        char buffer[256];
        pollfd readable{connection, POLLIN, 0};
        while (received.find('\n') == std::string::npos && ::poll(&readable, 1, 10000) == 1) {
            const ssize_t count = ::read(connection, buffer, sizeof buffer);
            if (count <= 0) {
                break;
            }
            received.append(buffer, static_cast<std::size_t>(count));
        }
        ASSERT_EQ(::write(connection, "ok\n", 3), 3);
        ::close(connection);
    });
    EXPECT_TRUE(WidgetUrlOpener::open(QStringLiteral("dayvane://stopwatch")));
    application.join();
    EXPECT_EQ(received, "dayvane1 open dayvane://stopwatch\n");
    EXPECT_EQ(desktop.opened.size(), 1u);
    QDesktopServices::unsetUrlHandler(QStringLiteral("dayvane"));
}

} // namespace

#include "WidgetHostActionsTest.moc"
