// Starts the real program: it shows its window, takes a second launch's link and lets that process end,
// and quits once its window closes, leaving the frame behind.
#include <Dayvane/DayvaneSingleInstance.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <TovikKit/TovikFrameText.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

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
    }

    void TearDown() override
    {
        if (m_application.state() != QProcess::NotRunning) {
            m_application.kill();
            m_application.waitForFinished();
        }
    }

    QString socketPath() const { return m_folder.filePath("runtime/dayvane/app.socket"); }

    bool instanceAnswers() const
    {
        QLocalSocket probe;
        probe.connectToServer(socketPath());
        const bool connected = probe.waitForConnected(200);
        probe.abort();
        return connected;
    }

    void start(QProcess &process, const QStringList &arguments)
    {
        process.setProcessEnvironment(m_environment);
        process.setProgram(QStringLiteral(DAYVANE_PROGRAM));
        process.setArguments(arguments);
        process.start();
    }

    QTemporaryDir m_folder;
    QProcessEnvironment m_environment;
    QProcess m_application;
};

TEST_F(DayvaneProcessTest, showsItsWindowTakesOverLinksAndQuitsWhenTheWindowCloses)
{
    start(m_application, {});
    ASSERT_TRUE(m_application.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return instanceAnswers(); }, 20000)) << "the first process becomes the instance";

    QProcess second;
    start(second, {QStringLiteral("dayvane://clock")});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(m_application.state(), QProcess::Running) << "the link went to the running instance";

    // The program ends only when a visible window hides, so its ending shows the window was up.
    DayvaneSingleInstance client(socketPath());
    ASSERT_TRUE(client.handOver({QStringLiteral("close-main-window")}));
    ASSERT_TRUE(m_application.waitForFinished(20000)) << "the last visible window closed";
    EXPECT_EQ(m_application.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(m_application.exitCode(), 0);

    const auto store = TovikSettingsStore::open(m_folder.filePath("config/dayvane/settings.sqlite3").toStdString());
    ASSERT_TRUE(store);
    const auto frame = store->text("dayvane.mainWindow.frame");
    ASSERT_TRUE(frame);
    const auto parsed = TovikFrameText::parse(*frame);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->size(), QSizeF(720, 480));
}

} // namespace
