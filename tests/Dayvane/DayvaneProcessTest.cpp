// Starts the real program: one instance per user even when started twice at the same instant, later
// starts handed over to it, and a clean end on the quit signals, leaving the frame behind.
#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/TovikFrameText.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class DayvaneProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        for (const char *folder : {"config", "runtime", "home"}) {
            ASSERT_TRUE(QDir().mkpath(m_folder.filePath(folder)));
        }
        QFile::setPermissions(m_folder.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_environment = QProcessEnvironment::systemEnvironment();
        m_environment.insert("QT_QPA_PLATFORM", "offscreen");
        m_environment.insert("XDG_CONFIG_HOME", m_folder.filePath("config"));
        m_environment.insert("XDG_RUNTIME_DIR", m_folder.filePath("runtime"));
        m_environment.insert("HOME", m_folder.filePath("home"));
        m_environment.remove("APPIMAGE");
        m_environment.remove("XDG_ACTIVATION_TOKEN");
        m_environment.remove("DESKTOP_STARTUP_ID");
    }

    void TearDown() override
    {
        if (m_application.state() != QProcess::NotRunning) {
            m_application.kill();
            m_application.waitForFinished();
        }
    }

    QString runtimeFile(const char *name) const { return m_folder.filePath(QStringLiteral("runtime/dayvane/") + name); }

    void start(QProcess &process, const QStringList &arguments)
    {
        process.setProcessEnvironment(m_environment);
        process.setProgram(QStringLiteral(DAYVANE_PROGRAM));
        process.setArguments(arguments);
        process.start();
    }

    // Runs a later start to its end; true when it handed its request over and ended well.
    bool handOver(const QStringList &arguments)
    {
        QProcess later;
        start(later, arguments);
        return later.waitForFinished(20000) && later.exitStatus() == QProcess::NormalExit && later.exitCode() == 0;
    }

    QTemporaryDir m_folder;
    QProcessEnvironment m_environment;
    QProcess m_application;
};

// A child started with fork and exec, so that two can be let go at the same instant.
class RawChild {
public:
    RawChild(pid_t pid)
        : m_pid(pid)
    {
    }
    ~RawChild()
    {
        if (m_running) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    RawChild(const RawChild &) = delete;
    RawChild &operator=(const RawChild &) = delete;

    bool running() const { return m_running; }
    // Collects the child when it has ended.
    bool ended()
    {
        if (m_running && ::waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_running = false;
        }
        return !m_running;
    }
    bool endedWell() const { return !m_running && WIFEXITED(m_status) && WEXITSTATUS(m_status) == 0; }
    void signal(int number) const { ::kill(m_pid, number); }

private:
    pid_t m_pid;
    bool m_running = true;
    int m_status = 0;
};

TEST_F(DayvaneProcessTest, startedTwiceAtTheSameInstantOneInstanceRemains)
{
    const QByteArray program = QByteArrayLiteral(DAYVANE_PROGRAM);
    std::vector<QByteArray> environmentLines;
    for (const QString &line : m_environment.toStringList()) {
        environmentLines.push_back(line.toLocal8Bit());
    }
    std::vector<char *> environment;
    for (QByteArray &line : environmentLines) {
        environment.push_back(line.data());
    }
    environment.push_back(nullptr);
    char *const arguments[] = {const_cast<char *>(program.constData()), nullptr};

    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        // Both children wait on the pipe and start the program the moment its write end closes.
        int barrier[2];
        ASSERT_EQ(::pipe2(barrier, O_CLOEXEC), 0);
        std::vector<std::unique_ptr<RawChild>> children;
        for (int i = 0; i < 2; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::close(barrier[1]);
                char go;
                if (::read(barrier[0], &go, 1) == 0) {
                    ::execve(arguments[0], arguments, environment.data());
                }
                ::_exit(127);
            }
            ASSERT_GT(pid, 0);
            children.push_back(std::make_unique<RawChild>(pid));
        }
        ::close(barrier[0]);
        ::close(barrier[1]);

        ASSERT_TRUE(QTest::qWaitFor([&] { return children[0]->ended() || children[1]->ended(); }, 20000))
            << "one of the two hands over and ends";
        RawChild &later = children[0]->ended() ? *children[0] : *children[1];
        RawChild &instance = &later == children[0].get() ? *children[1] : *children[0];
        EXPECT_TRUE(later.endedWell());
        EXPECT_FALSE(instance.ended()) << "the other one is the instance";

        instance.signal(SIGTERM);
        ASSERT_TRUE(QTest::qWaitFor([&] { return instance.ended(); }, 20000));
        EXPECT_TRUE(instance.endedWell());
        EXPECT_FALSE(QFile::exists(runtimeFile("app.socket")));
        EXPECT_FALSE(QFile::exists(runtimeFile("app.lock")));
    }
}

TEST_F(DayvaneProcessTest, quitSignalsEndTheInstanceAsClosingItsLastWindowDoes)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signalNumber);
        start(m_application, {});
        ASSERT_TRUE(m_application.waitForStarted(10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(runtimeFile("app.socket")); }, 20000))
            << "the instance listens";
        // A reopen is answered only once the main window exists.
        ASSERT_TRUE(handOver({}));
        ASSERT_TRUE(handOver({QStringLiteral("dayvane://clock")}));
        EXPECT_EQ(m_application.state(), QProcess::Running) << "the requests went to the running instance";

        ::kill(static_cast<pid_t>(m_application.processId()), signalNumber);
        ASSERT_TRUE(m_application.waitForFinished(20000));
        EXPECT_EQ(m_application.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_application.exitCode(), 0);
        EXPECT_FALSE(QFile::exists(runtimeFile("app.socket")));
        EXPECT_FALSE(QFile::exists(runtimeFile("app.lock")));

        const auto store = TovikSettingsStore::open(m_folder.filePath("config/dayvane/settings.sqlite3").toStdString());
        ASSERT_TRUE(store);
        const auto frame = store->text("dayvane.mainWindow.frame");
        ASSERT_TRUE(frame);
        const auto parsed = TovikFrameText::parse(*frame);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->size(), QSizeF(720, 480));
        store->remove("dayvane.mainWindow.frame");
    }
}

TEST_F(DayvaneProcessTest, aRuntimeFolderItCannotUseIsSaidNotRunBeside)
{
    QFile blocker(m_folder.filePath("runtime/dayvane"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    start(m_application, {});
    ASSERT_TRUE(m_application.waitForStarted(10000));
    QByteArray said;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            said += m_application.readAllStandardError();
            return said.contains("\n");
        },
        20000));
    EXPECT_TRUE(said.contains(("无法使用 " + blocker.fileName() + "：不是文件夹").toUtf8())) << said.toStdString();
    // Its dialog waits for the user; it listens nowhere meanwhile.
    EXPECT_EQ(m_application.state(), QProcess::Running);
    EXPECT_TRUE(QFileInfo(blocker.fileName()).isFile());
}

TEST_F(DayvaneProcessTest, helpVersionAndHolidayChecksPrintWithoutADisplay)
{
    m_environment.insert("QT_QPA_PLATFORM", "xcb");
    m_environment.remove("DISPLAY");
    m_environment.remove("WAYLAND_DISPLAY");
    for (const char *option : {"--help", "--version"}) {
        SCOPED_TRACE(option);
        QProcess process;
        start(process, {QString::fromLatin1(option)});
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_TRUE(
            process.readAllStandardOutput().startsWith(option == QByteArray("--help") ? "用法：dayvane" : "dayvane "));
    }
    struct Check {
        const char *text;
        int exitCode;
        const char *verdict;
    };
    for (const Check &check :
         {Check{R"({"year": 2028, "days": [{"name": "元旦", "date": "2028-01-01", "isOffDay": true}]})", 0,
                ": ok (1 day)\n"},
          Check{R"({"year": 2028, "days": [{"name": "元旦", "date": "2028-01-03", "isOffDay": false}]})", 1,
                "not a Saturday or Sunday\n"}}) {
        SCOPED_TRACE(check.text);
        QFile file(m_folder.filePath("2028.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(check.text);
        file.close();
        QProcess process;
        start(process, {QStringLiteral("--check-holidays"), file.fileName()});
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitCode(), check.exitCode);
        const QByteArray output = process.readAllStandardOutput();
        EXPECT_TRUE(output.startsWith(file.fileName().toUtf8())) << output.toStdString();
        EXPECT_TRUE(output.endsWith(check.verdict)) << output.toStdString();
    }
    QProcess refused;
    start(refused, {QStringLiteral("close-main-window"), QStringLiteral("--reopen")});
    ASSERT_TRUE(refused.waitForFinished(20000));
    EXPECT_EQ(refused.exitCode(), 1);
    EXPECT_TRUE(refused.readAllStandardError().contains("reopen"));
}

} // namespace
