// The build installed into a scratch root with the package's prefix, then used from there: the installed
// application maps its window on a real X server, the installed host finds its own plugin and draws a widget,
// the desktop metadata names files that the tree holds, and an uninstall takes away what was installed.
#include "VirtualDisplay.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <poll.h>

namespace {

const QString prefix = QStringLiteral("/usr");

class DayvaneInstallTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_root = std::make_unique<QTemporaryDir>();
        s_installed = install(s_root->path(), &s_installOutput);
    }

    // Installs the package's files under `destination` as the package lays them out; false with the
    // installer's words in `output` when that fails.
    static bool install(const QString &destination, QString *output)
    {
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), destination);
        install.setProcessEnvironment(environment);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(DAYVANE_CMAKE),
                      {"--install", DAYVANE_BUILD_DIR, "--prefix", prefix, "--component", "dayvane"});
        install.waitForFinished(120000);
        *output = QString::fromLocal8Bit(install.readAll());
        return install.exitStatus() == QProcess::NormalExit && install.exitCode() == 0;
    }

    static void TearDownTestSuite() { s_root.reset(); }

    void SetUp() override { ASSERT_TRUE(s_installed) << s_installOutput.toStdString(); }

    // A path in the installed tree, given relative to the prefix.
    static QString installed(const QString &relative) { return s_root->path() + prefix + '/' + relative; }

    // A clean user: folders of its own, nothing handed over from the test's environment.
    QProcessEnvironment userEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *folder : {"config", "data", "runtime", "home"}) {
            QDir().mkpath(m_user.filePath(folder));
        }
        QFile::setPermissions(m_user.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert("XDG_CONFIG_HOME", m_user.filePath("config"));
        environment.insert("XDG_DATA_HOME", m_user.filePath("data"));
        environment.insert("XDG_RUNTIME_DIR", m_user.filePath("runtime"));
        environment.insert("HOME", m_user.filePath("home"));
        environment.insert("XDG_DATA_DIRS", installed(QStringLiteral("share")));
        for (const char *name :
             {"DAYVANE_WIDGET_PLUGIN", "QT_QPA_PLATFORM", "APPIMAGE", "DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"}) {
            environment.remove(name);
        }
        return environment;
    }

    static std::unique_ptr<QTemporaryDir> s_root;
    static QString s_installOutput;
    static bool s_installed;
    QTemporaryDir m_user;
};

std::unique_ptr<QTemporaryDir> DayvaneInstallTest::s_root;
QString DayvaneInstallTest::s_installOutput;
bool DayvaneInstallTest::s_installed = false;

// The process id a top-level window announces, or 0.
std::uint32_t windowPid(xcb_connection_t *connection, xcb_window_t window)
{
    static constexpr char name[] = "_NET_WM_PID";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr), &std::free);
    if (!atom) {
        return 0;
    }
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1),
                               nullptr),
        &std::free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 4) {
        return 0;
    }
    return *static_cast<const std::uint32_t *>(xcb_get_property_value(reply.get()));
}

TEST_F(DayvaneInstallTest, TheInstalledApplicationMapsItsWindowAndQuitsCleanly)
{
    const VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    xcb_connection_t *connection = xcb_connect(display.name().c_str(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(connection));
    const std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)> closing(connection, &xcb_disconnect);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    // A round trip, so the selection holds before the program starts.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    QProcess application;
    QProcessEnvironment environment = userEnvironment();
    environment.insert("DISPLAY", QString::fromStdString(display.name()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    application.setProcessEnvironment(environment);
    application.setProcessChannelMode(QProcess::ForwardedChannels);
    application.start(installed(QStringLiteral("bin/dayvane")), QStringList());
    ASSERT_TRUE(application.waitForStarted());

    bool mapped = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!mapped && std::chrono::steady_clock::now() < deadline && !application.waitForFinished(0)) {
        pollfd waiting{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&waiting, 1, 250);
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
                mapped =
                    mapped
                    || (!map->override_redirect
                        && windowPid(connection, map->window) == static_cast<std::uint32_t>(application.processId()));
            }
            std::free(event);
        }
    }
    EXPECT_TRUE(mapped) << "no window of the installed dayvane mapped";

    application.terminate();
    ASSERT_TRUE(application.waitForFinished(30000));
    EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.exitCode(), 0);
}

TEST_F(DayvaneInstallTest, TheInstalledHostFindsItsOwnPluginAndDrawsAWidget)
{
    const auto render = [&](const QString &file, QString *errors) {
        QProcess host;
        host.setProcessEnvironment(userEnvironment());
        host.start(installed(QStringLiteral("bin/dayvane-widget-host")),
                   {"--render", "DayvaneClockWidget", "small", file, "2026-10-01T09:05:03+08:00"});
        host.waitForFinished(120000);
        *errors = QString::fromLocal8Bit(host.readAllStandardError());
        return host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
    };

    QString errors;
    const QString picture = m_user.filePath(QStringLiteral("clock.png"));
    ASSERT_EQ(render(picture, &errors), 0) << errors.toStdString();
    EXPECT_EQ(QImage(picture).size(), QSize(170, 170));

    // Without its plugin the installed host says where it looked: in its own tree, not in the build's.
    const QString plugin = installed(QStringLiteral(DAYVANE_PLUGIN_INSTALL_DIR "/libDayvaneWidget.so"));
    ASSERT_TRUE(QFile::rename(plugin, plugin + ".away"));
    const int withoutPlugin = render(m_user.filePath(QStringLiteral("none.png")), &errors);
    ASSERT_TRUE(QFile::rename(plugin + ".away", plugin));
    EXPECT_NE(withoutPlugin, 0);
    EXPECT_TRUE(errors.contains(plugin)) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(m_user.filePath(QStringLiteral("none.png"))));
}

TEST_F(DayvaneInstallTest, EveryIconSizeIsDrawnAtTheSizeItsFolderNames)
{
    QStringList sizes;
    const QRegularExpression folderName(QStringLiteral("/hicolor/(\\d+)x(\\d+)/apps/dayvane\\.png$"));
    QDirIterator icons(installed(QStringLiteral("share/icons/hicolor")), {QStringLiteral("dayvane.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (icons.hasNext()) {
        const QString file = icons.next();
        const QRegularExpressionMatch match = folderName.match(file);
        ASSERT_TRUE(match.hasMatch()) << file.toStdString();
        EXPECT_EQ(QImage(file).size(), QSize(match.captured(1).toInt(), match.captured(2).toInt()))
            << file.toStdString();
        sizes.append(match.captured(1));
    }
    // From the smallest menu icon to the largest software-centre one.
    EXPECT_TRUE(sizes.contains(QStringLiteral("16")) && sizes.contains(QStringLiteral("512")))
        << sizes.join(' ').toStdString();
    EXPECT_TRUE(QFile::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/dayvane.svg"))));
}

// A key's value in a desktop entry's main group, or empty.
QString entryValue(const QString &file, const QString &key)
{
    QFile entry(file);
    if (!entry.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    bool mainGroup = false;
    while (!entry.atEnd()) {
        const QString line = QString::fromUtf8(entry.readLine()).trimmed();
        if (line.startsWith('[')) {
            mainGroup = line == QLatin1String("[Desktop Entry]");
        } else if (mainGroup && line.section('=', 0, 0).trimmed() == key) {
            return line.section('=', 1).trimmed();
        }
    }
    return {};
}

TEST_F(DayvaneInstallTest, DesktopEntriesAndMetadataNameWhatTheTreeHolds)
{
    const QStringList entries = {QStringLiteral("share/applications/dayvane.desktop"),
                                 QStringLiteral("share/applications/dayvane-widget-host.desktop"),
                                 QStringLiteral("share/dayvane/autostart/dayvane-widget-host.desktop")};
    for (const QString &entry : entries) {
        SCOPED_TRACE(entry.toStdString());
        ASSERT_TRUE(QFile::exists(installed(entry)));
        const QString program = entryValue(installed(entry), QStringLiteral("Exec")).section(' ', 0, 0);
        EXPECT_TRUE(QFile::exists(installed(QStringLiteral("bin/") + program))) << program.toStdString();
        const QString icon = entryValue(installed(entry), QStringLiteral("Icon"));
        EXPECT_TRUE(QFile::exists(installed(QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(icon))));
    }
    EXPECT_TRUE(entryValue(installed(entries.first()), QStringLiteral("MimeType"))
                    .split(';')
                    .contains(QStringLiteral("x-scheme-handler/dayvane")));

    QFile metainfo(installed(QStringLiteral("share/metainfo/local.tovik.dayvane.metainfo.xml")));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&metainfo);
    int launchables = 0;
    int binaries = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("launchable")) {
            const QString entry = xml.readElementText();
            EXPECT_TRUE(QFile::exists(installed(QStringLiteral("share/applications/") + entry))) << entry.toStdString();
            ++launchables;
        } else if (xml.name() == QLatin1String("binary")) {
            const QString program = xml.readElementText();
            EXPECT_TRUE(QFile::exists(installed(QStringLiteral("bin/") + program))) << program.toStdString();
            ++binaries;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(launchables, 2);
    EXPECT_EQ(binaries, 2);
}

TEST_F(DayvaneInstallTest, UninstallRemovesExactlyTheRecordedFilesAndOurEmptyFolders)
{
    QTemporaryDir stage;
    QString output;
    ASSERT_TRUE(install(stage.path(), &output)) << output.toStdString();
    // The manifest as `make install` keeps it: its paths without the staging folder, no newline at the end.
    QFile manifest(QStringLiteral(DAYVANE_BUILD_DIR "/install_manifest_dayvane.txt"));
    ASSERT_TRUE(manifest.open(QIODevice::ReadOnly));
    const QStringList recorded = QString::fromUtf8(manifest.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(recorded.isEmpty());
    for (const QString &file : recorded) {
        ASSERT_TRUE(QFile::exists(stage.path() + file)) << file.toStdString();
    }
    // Files of other programs beside ours stay, and so do their folders.
    const QStringList others = {stage.path() + prefix + "/share/applications/other.desktop",
                                stage.path() + prefix + "/share/icons/hicolor/16x16/apps/other.png"};
    for (const QString &other : others) {
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QProcess uninstall;
    uninstall.setProcessChannelMode(QProcess::MergedChannels);
    uninstall.start(QStringLiteral("bash"),
                    {DAYVANE_SOURCE_DIR "/scripts/uninstall", manifest.fileName(), stage.path()});
    ASSERT_TRUE(uninstall.waitForFinished(60000));
    ASSERT_EQ(uninstall.exitCode(), 0) << uninstall.readAll().toStdString();

    for (const QString &file : recorded) {
        EXPECT_FALSE(QFile::exists(stage.path() + file)) << file.toStdString();
    }
    for (const QString &other : others) {
        EXPECT_TRUE(QFile::exists(other)) << other.toStdString();
    }
    EXPECT_FALSE(QDir(stage.path() + prefix + "/" DAYVANE_PLUGIN_INSTALL_DIR).exists());
    EXPECT_FALSE(QDir(stage.path() + prefix + "/share/dayvane").exists());
    EXPECT_FALSE(QDir(stage.path() + prefix + "/share/doc/dayvane").exists());
    EXPECT_TRUE(QDir(stage.path() + prefix + "/share/applications").exists());
}

} // namespace
