// The build installed into a scratch root with the package's prefix, then used from there: the installed
// application maps its window on a real X server, the installed host finds its own plugin and draws a widget,
// the desktop metadata names files that the tree holds, and an uninstall takes away what was installed.
#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
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

// A connection to a display that is told of every window mapped on it from its opening on.
class WatchedDisplay {
public:
    explicit WatchedDisplay(const VirtualDisplay &display)
        : m_connection(xcb_connect(display.name().c_str(), nullptr))
    {
        if (xcb_connection_has_error(m_connection)) {
            return;
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, root, XCB_CW_EVENT_MASK, &mask);
        // A round trip, so the selection holds before a program starts.
        std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }
    ~WatchedDisplay() { xcb_disconnect(m_connection); }
    WatchedDisplay(const WatchedDisplay &) = delete;
    WatchedDisplay &operator=(const WatchedDisplay &) = delete;

    xcb_connection_t *connection() const { return m_connection; }

private:
    xcb_connection_t *m_connection;
};

// The first top-level window the program maps within a minute, or none when it maps none or ends.
std::optional<xcb_window_t> mappedWindowOf(xcb_connection_t *connection, QProcess &program)
{
    std::optional<xcb_window_t> mapped;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!mapped && std::chrono::steady_clock::now() < deadline && !program.waitForFinished(0)) {
        pollfd waiting{xcb_get_file_descriptor(connection), POLLIN, 0};
        ::poll(&waiting, 1, 250);
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
                const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event);
                if (!mapped && !map->override_redirect
                    && windowPid(connection, map->window) == static_cast<std::uint32_t>(program.processId())) {
                    mapped = map->window;
                }
            }
            std::free(event);
        }
    }
    return mapped;
}

int windowWidth(xcb_connection_t *connection, xcb_window_t window)
{
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr), &std::free);
    return geometry ? geometry->width : 0;
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// A machine on which of the Debian packages only those the package depends on are present, with what they
// depend on in turn and those every Debian system has (essential or of required priority): their QML modules
// in a tree of their own and their programs in a folder of their own, for a program to run against in place
// of the whole system.
class DependencySandbox {
public:
    DependencySandbox(const QString &folder, const QString &dependsField)
        : m_folder(folder)
    {
        // Every installed package: its name, whether every system has it, and what it depends on.
        QHash<QString, QStringList> dependsOf;
        QStringList wanted = names(dependsField);
        const QString status =
            run(QStringLiteral("dpkg-query"), {"-W", "-f=${db:Status-Abbrev}\t${Package}\t${Essential}\t${Priority}\t"
                                                     "${Pre-Depends}, ${Depends}\n"});
        for (const QString &line : status.split('\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split('\t');
            if (fields.size() == 5 && fields[0].startsWith(QLatin1String("ii"))) {
                dependsOf.insert(fields[1], names(fields[4]));
                if (fields[2] == QLatin1String("yes") || fields[3] == QLatin1String("required")) {
                    wanted.append(fields[1]);
                }
            }
        }
        QSet<QString> present;
        while (!wanted.isEmpty()) {
            const QString package = wanted.takeLast();
            // A name no installed package bears is virtual, or absent: either way it brings no files.
            if (dependsOf.contains(package) && !present.contains(package)) {
                present.insert(package);
                wanted += dependsOf.value(package);
            }
        }

        const QString qml = QLibraryInfo::path(QLibraryInfo::QmlImportsPath);
        QSet<QString> files;
        for (const QString &file :
             run(QStringLiteral("dpkg-query"), QStringList{"-L"} + present.values()).split('\n', Qt::SkipEmptyParts)) {
            if (QFileInfo(file).isDir()) {
                continue;
            }
            files.insert(QFileInfo(file).canonicalFilePath());
            if (file.startsWith(qml + '/')) {
                link(file, qmlImports() + file.mid(qml.size()));
            }
        }
        // A program is there when what its name leads to is, through the alternatives too (awk, which).
        for (const QFileInfo &program : QDir(QStringLiteral("/usr/bin")).entryInfoList(QDir::Files)) {
            if (files.contains(program.canonicalFilePath())) {
                link(program.filePath(), programs() + '/' + program.fileName());
            }
        }
    }

    QString qmlImports() const { return m_folder + QStringLiteral("/qml"); }
    QString programs() const { return m_folder + QStringLiteral("/bin"); }

    // Makes the Qt program in `binDir` look for QML modules in the sandbox only, and the rest where Qt is.
    void confine(const QString &binDir) const
    {
        QFile conf(binDir + QStringLiteral("/qt.conf"));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly | QIODevice::Text));
        const struct {
            const char *key;
            QLibraryInfo::LibraryPath path;
        } paths[] = {{"Prefix", QLibraryInfo::PrefixPath},
                     {"Libraries", QLibraryInfo::LibrariesPath},
                     {"LibraryExecutables", QLibraryInfo::LibraryExecutablesPath},
                     {"ArchData", QLibraryInfo::ArchDataPath},
                     {"Data", QLibraryInfo::DataPath},
                     {"Plugins", QLibraryInfo::PluginsPath},
                     {"Translations", QLibraryInfo::TranslationsPath}};
        QTextStream text(&conf);
        text << "[Paths]\n";
        for (const auto &path : paths) {
            text << path.key << '=' << QLibraryInfo::path(path.path) << '\n';
        }
        text << "QmlImports=" << qmlImports() << '\n';
    }

private:
    // The package names of a Depends field: versions and architectures dropped, the first of alternatives.
    static QStringList names(const QString &field)
    {
        QStringList found;
        for (const QString &entry : field.split(',', Qt::SkipEmptyParts)) {
            const QString name = entry.section('|', 0, 0).trimmed().section(' ', 0, 0).section(':', 0, 0);
            if (!name.isEmpty()) {
                found.append(name);
            }
        }
        return found;
    }

    static void link(const QString &target, const QString &place)
    {
        QDir().mkpath(QFileInfo(place).path());
        QFile::link(target, place);
    }

    QString m_folder;
};

TEST_F(DayvaneInstallTest, TheInstalledApplicationMapsItsWindowAndQuitsCleanly)
{
    const VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    const WatchedDisplay watched(display);
    xcb_connection_t *connection = watched.connection();
    ASSERT_FALSE(xcb_connection_has_error(connection));

    QProcess application;
    QProcessEnvironment environment = userEnvironment();
    environment.insert("DISPLAY", QString::fromStdString(display.name()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    application.setProcessEnvironment(environment);
    application.setProcessChannelMode(QProcess::ForwardedChannels);
    application.start(installed(QStringLiteral("bin/dayvane")), QStringList());
    ASSERT_TRUE(application.waitForStarted());

    EXPECT_TRUE(mappedWindowOf(connection, application)) << "no window of the installed dayvane mapped";

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

// What the package depends on is what the widget host needs beyond the libraries dpkg-shlibdeps finds: on a
// machine with those packages alone, the gallery has its content (its QML modules are there) and a click on a
// widget opens its link through the desktop while Dayvane is not running (xdg-open is there).
TEST_F(DayvaneInstallTest, ThePackagesDependenciesAreEnoughForTheWidgetHost)
{
    QTemporaryDir stage;
    QString output;
    ASSERT_TRUE(install(stage.path(), &output)) << output.toStdString();
    const QString host = stage.path() + prefix + QStringLiteral("/bin/dayvane-widget-host");
    const DependencySandbox sandbox(m_user.filePath(QStringLiteral("sandbox")),
                                    QStringLiteral(DAYVANE_PACKAGE_DEPENDS));
    sandbox.confine(QFileInfo(host).path());

    // The desktop's handler of dayvane: links writes down the link it is given.
    const QString recorded = m_user.filePath(QStringLiteral("link"));
    const QString recorder = m_user.filePath(QStringLiteral("record-link"));
    const QString handlers = m_user.filePath(QStringLiteral("data/applications"));
    const QStringList files[] = {
        {recorder, "#!/bin/sh\necho \"$1\" > " + recorded + "\n"},
        {handlers + "/link-recorder.desktop", "[Desktop Entry]\nType=Application\nName=Link recorder\nExec=" + recorder
                                                  + " %u\nMimeType=x-scheme-handler/dayvane;\n"},
        {m_user.filePath(QStringLiteral("config/mimeapps.list")),
         "[Default Applications]\nx-scheme-handler/dayvane=link-recorder.desktop\n"},
    };
    QProcessEnvironment environment = userEnvironment();
    QDir().mkpath(handlers);
    for (const QStringList &file : files) {
        QFile written(file[0]);
        ASSERT_TRUE(written.open(QIODevice::WriteOnly));
        written.write(file[1].toUtf8());
    }
    QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    const WatchedDisplay watched(display);
    ASSERT_FALSE(xcb_connection_has_error(watched.connection()));
    environment.insert("DISPLAY", QString::fromStdString(display.name()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("PATH", sandbox.programs());
    environment.remove("QML_IMPORT_PATH");
    environment.remove("QML2_IMPORT_PATH");
    const auto start = [&](QProcess &process) {
        process.setProcessEnvironment(environment);
        process.start(host, QStringList());
        return process.waitForStarted();
    };

    // With nothing placed the host opens its gallery, as wide as its content when that could be built.
    QProcess galleryHost;
    ASSERT_TRUE(start(galleryHost));
    const std::optional<xcb_window_t> gallery = mappedWindowOf(watched.connection(), galleryHost);
    ASSERT_TRUE(gallery) << galleryHost.readAllStandardError().toStdString();
    EXPECT_EQ(windowWidth(watched.connection(), *gallery), 640) << galleryHost.readAllStandardError().toStdString();
    galleryHost.terminate();
    ASSERT_TRUE(galleryHost.waitForFinished(30000));

    // A clock placed on the desktop, clicked with no Dayvane running, hands its link to the desktop.
    const QString store = m_user.filePath(QStringLiteral("config/dayvane-widget-host/settings.sqlite3"));
    ASSERT_EQ(QProcess::execute(QStringLiteral("sqlite3"),
                                {store, "INSERT OR REPLACE INTO settings (key, value) VALUES "
                                        "('dayvane.widgetHost.placedWidgets', 'DayvaneClockWidget small 100 100')"}),
              0);
    QProcess widgetHost;
    ASSERT_TRUE(start(widgetHost));
    ASSERT_TRUE(mappedWindowOf(watched.connection(), widgetHost));
    QProcess click;
    click.setEnvironment({"DISPLAY=" + QString::fromStdString(display.name())});
    click.start(QStringLiteral("xdotool"), {"mousemove", "185", "185", "click", "1"});
    ASSERT_TRUE(click.waitForFinished(30000));
    QFile link(recorded);
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired() && link.size() == 0; QThread::msleep(50)) {
    }
    ASSERT_TRUE(link.open(QIODevice::ReadOnly)) << "the click opened no link";
    EXPECT_EQ(link.readAll().trimmed(), "dayvane://clock");
    widgetHost.terminate();
    widgetHost.waitForFinished(30000);
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
