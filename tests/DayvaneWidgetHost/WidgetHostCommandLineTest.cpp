#include "TemporaryFolder.h"
#include "VirtualDisplay.h"

#include <QProcess>
#include <gtest/gtest.h>

// The real host asked for its help and its version, given what it does not know, and started as from a
// menu without its extension.
namespace {

class WidgetHostCommandLineTest : public ::testing::Test {
protected:
    QProcessEnvironment environment(const QString &plugin) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString((folder / "config").string()));
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder.path().string()));
        environment.insert("DAYVANE_WIDGET_PLUGIN", plugin);
        return environment;
    }

    TemporaryFolder folder;
};

TEST_F(WidgetHostCommandLineTest, HelpAndVersionArePrintedAndAnythingElseIsAMistake)
{
    const struct {
        const char *argument;
        int exitCode;
        const char *output;
        const char *errors;
    } cases[] = {
        {"--help", 0, "用法：dayvane-widget-host [选项]\n", ""},
        {"-h", 0, "用法：dayvane-widget-host [选项]\n", ""},
        {"--version", 0, "dayvane-widget-host " DAYVANE_VERSION "\n", ""},
        {"-v", 0, "dayvane-widget-host " DAYVANE_VERSION "\n", ""},
        {"--frobnicate", 1, "", "dayvane-widget-host: 未知的选项 --frobnicate\n用法：dayvane-widget-host [选项]\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.argument);
        QProcess process;
        // No display at all: printing needs none.
        QProcessEnvironment bare = environment(QStringLiteral(DAYVANE_WIDGET_PLUGIN));
        bare.insert("QT_QPA_PLATFORM", "xcb");
        bare.remove("DISPLAY");
        bare.remove("WAYLAND_DISPLAY");
        process.setProcessEnvironment(bare);
        process.start(QStringLiteral(DAYVANE_WIDGET_HOST), {QString::fromLatin1(c.argument)});
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.exitCode);
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        const QString errors = QString::fromUtf8(process.readAllStandardError());
        // Nothing at all where nothing is expected.
        EXPECT_TRUE(*c.output ? output.startsWith(QString::fromUtf8(c.output)) : output.isEmpty())
            << output.toStdString();
        EXPECT_TRUE(*c.errors ? errors.startsWith(QString::fromUtf8(c.errors)) : errors.isEmpty())
            << errors.toStdString();
    }
}

TEST_F(WidgetHostCommandLineTest, AMissingExtensionIsSaidInAWindowUntilTheUserClosesIt)
{
    VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    const QString missing = QStringLiteral("/nonexistent/libDayvaneWidget.so");
    QProcessEnvironment onDisplay = environment(missing);
    onDisplay.insert("QT_QPA_PLATFORM", "xcb");
    onDisplay.insert("DISPLAY", QString::fromStdString(display.name()));

    QProcess host;
    host.setProcessEnvironment(onDisplay);
    host.start(QStringLiteral(DAYVANE_WIDGET_HOST), {});
    ASSERT_TRUE(host.waitForStarted());

    // The window is found while the host waits for it to be closed.
    QProcess search;
    search.setProcessEnvironment(onDisplay);
    search.start(QStringLiteral("xdotool"),
                 {"search", "--sync", "--onlyvisible", "--name", QStringLiteral("^Dayvane 小组件$")});
    const bool found = search.waitForFinished(60000);
    if (!found) {
        search.kill();
        search.waitForFinished();
    }
    ASSERT_TRUE(found && search.exitCode() == 0) << "no window told of the missing extension";
    EXPECT_EQ(host.state(), QProcess::Running);
    const QString dialog = QString::fromUtf8(search.readAllStandardOutput()).split('\n').first();

    QProcess close;
    close.setProcessEnvironment(onDisplay);
    close.start(QStringLiteral("xdotool"), {"windowfocus", "--sync", dialog, "key", "Return"});
    ASSERT_TRUE(close.waitForFinished(20000));
    ASSERT_TRUE(host.waitForFinished(20000)) << "the window did not close";
    EXPECT_EQ(host.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(host.readAllStandardError()).contains(missing));
}

} // namespace
