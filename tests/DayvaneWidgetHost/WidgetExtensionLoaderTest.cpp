#include "TemporaryFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <DayvaneWidgetHost/WidgetExtensionLoader.h>
#include <cstdlib>
#include <ostream>
#include <string>

// Where the host looks for its plugin, in a build tree, in an installed tree and when told.
namespace {

struct Layout {
    std::string name;
    std::string host;
    // The plugin file put in place, or empty for none.
    std::string plugin;
    // The plugin $DAYVANE_WIDGET_PLUGIN names, or empty to leave it unset.
    std::string fromEnvironment;
    // Relative to the tree, unless absolute.
    std::string expected;
};

void PrintTo(const Layout &layout, std::ostream *out)
{
    *out << layout.name;
}

const std::string installedBin = DAYVANE_INSTALL_BINDIR;
const std::string installedPlugin = DAYVANE_PLUGIN_INSTALL_DIR "/libDayvaneWidget.so";

class WidgetExtensionLoaderTest : public ::testing::TestWithParam<Layout> {
protected:
    void TearDown() override { ::unsetenv("DAYVANE_WIDGET_PLUGIN"); }

    TemporaryFolder tree;
};

QString absolute(const TemporaryFolder &tree, const std::string &relative)
{
    return QDir::cleanPath(QString::fromStdString((tree / relative).string()));
}

TEST_P(WidgetExtensionLoaderTest, FindsThePluginOfItsOwnTree)
{
    const Layout &layout = GetParam();
    ASSERT_TRUE(QDir().mkpath(absolute(tree, layout.host)));
    if (!layout.plugin.empty()) {
        const QString plugin = absolute(tree, layout.plugin);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(plugin).path()));
        QFile file(plugin);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    if (!layout.fromEnvironment.empty()) {
        ::setenv("DAYVANE_WIDGET_PLUGIN", layout.fromEnvironment.c_str(), 1);
    }
    const QString expected =
        layout.expected.front() == '/' ? QString::fromStdString(layout.expected) : absolute(tree, layout.expected);
    EXPECT_EQ(WidgetExtensionLoader::pluginPath(absolute(tree, layout.host)), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, WidgetExtensionLoaderTest,
    ::testing::Values(
        Layout{"BuildTree", "build/Sources/DayvaneWidgetHost", "build/Sources/DayvaneWidget/libDayvaneWidget.so", "",
               "build/Sources/DayvaneWidget/libDayvaneWidget.so"},
        Layout{"InstalledTree", ("usr/" + installedBin), ("usr/" + installedPlugin), "", ("usr/" + installedPlugin)},
        Layout{"InstalledUnderAnotherPrefix", ("opt/dv/" + installedBin), ("opt/dv/" + installedPlugin), "",
               ("opt/dv/" + installedPlugin)},
        Layout{"EnvironmentFirst", ("usr/" + installedBin), ("usr/" + installedPlugin),
               "/elsewhere/libDayvaneWidget.so", "/elsewhere/libDayvaneWidget.so"},
        // Found nowhere: the message names the installed tree's place, where users' hosts look.
        Layout{"Missing", ("usr/" + installedBin), "", "", ("usr/" + installedPlugin)}),
    [](const ::testing::TestParamInfo<Layout> &info) { return info.param.name; });

} // namespace
