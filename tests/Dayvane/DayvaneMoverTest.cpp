#include <Dayvane/DayvaneMover.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ostream>
#include <vector>

void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A mount table written out: the longest listed mount point that holds a path is its mount.
struct MountTable {
    std::vector<std::pair<QString, bool>> mounts = {{QStringLiteral("/"), false}};

    DayvaneMover::Mount operator()(const QString &path) const
    {
        DayvaneMover::Mount found;
        for (const auto &[point, readOnly] : mounts) {
            const bool holds = path == point || path.startsWith(point.endsWith('/') ? point : point + '/');
            if (holds && point.size() >= found.mountPoint.size()) {
                found = {point, readOnly};
            }
        }
        return found;
    }
};

// An environment that records what the offer did instead of doing it; by default an AppImage started
// from ~/Downloads.
struct Recorder {
    QStringList languages = {QStringLiteral("en-US")};
    bool accept = true;
    std::optional<DayvaneMover::Failure> installError;

    int asked = 0;
    QString askedTitle;
    std::vector<DayvaneMover::Move> installed;
    QString failureTitle;
    QString failureReason;
    QString failureDetail;
    QStringList launched;
    int terminated = 0;

    DayvaneMover::Environment environment()
    {
        DayvaneMover::Environment e;
        e.executable = QStringLiteral("/tmp/.mount_Dayvan1/usr/bin/dayvane");
        e.appImage = QStringLiteral("/home/u/Downloads/Dayvane-x86_64.AppImage");
        e.appDir = QStringLiteral("/tmp/.mount_Dayvan1");
        e.home = QStringLiteral("/home/u");
        e.mountOf = MountTable{{{"/", false}, {"/tmp/.mount_Dayvan1", true}}};
        e.preferredLanguages = [this] { return languages; };
        e.askToMove = [this](const DayvaneMover::Texts &texts) {
            ++asked;
            askedTitle = texts.title;
            return accept;
        };
        e.install = [this](const DayvaneMover::Move &move) {
            installed.push_back(move);
            return installError;
        };
        e.showFailure = [this](const DayvaneMover::Texts &texts, const QString &reason, const QString &detail) {
            failureTitle = texts.failureTitle;
            failureReason = reason;
            failureDetail = detail;
        };
        e.launch = [this](const QString &program) { launched << program; };
        e.terminate = [this] { ++terminated; };
        return e;
    }
};

TEST(DayvaneMover, chineseOnlyWhenTheFirstLanguageIsChinese)
{
    struct Case {
        QStringList languages;
        bool chinese;
    };
    const Case cases[] = {
        {{"zh-Hant-TW", "en-US"}, true}, {{"zh-Hans"}, true}, {{"zh"}, true}, {{"zh-CN", "en"}, true},
        {{"en-GB", "zh-CN"}, false},     {{"ja"}, false},     {{}, false},    {{"ZH"}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.languages.join(',').toStdString());
        const DayvaneMover::Texts texts = DayvaneMover::texts(c.languages);
        if (c.chinese) {
            EXPECT_EQ(texts.title, QStringLiteral("将 Dayvane 移到 ~/Applications 文件夹？"));
            EXPECT_EQ(texts.move, QStringLiteral("移到 ~/Applications"));
            EXPECT_EQ(texts.decline, QStringLiteral("暂不"));
        } else {
            EXPECT_EQ(texts.title, QStringLiteral("Move Dayvane to the ~/Applications folder?"));
            EXPECT_EQ(texts.move, QStringLiteral("Move to ~/Applications"));
            EXPECT_EQ(texts.decline, QStringLiteral("Not Now"));
        }
    }
}

TEST(DayvaneMover, offeredOnlyForAnAppImageOutsideApplicationsOrAReadOnlyRemovableMedium)
{
    using Kind = DayvaneMover::Move::Kind;
    const QString appImageTarget = QStringLiteral("/home/u/Applications/Dayvane.AppImage");
    struct Case {
        const char *name;
        QString executable;
        QString appImage;
        QString appDir;
        MountTable mounts;
        std::optional<DayvaneMover::Move> expected;
    };
    const Case cases[] = {
        {"system install", "/usr/bin/dayvane", "", "", {}, std::nullopt},
        {"read-only /usr of an immutable system",
         "/usr/bin/dayvane",
         "",
         "",
         {{{"/", false}, {"/usr", true}}},
         std::nullopt},
        {"Flatpak", "/app/bin/dayvane", "", "", {{{"/", true}, {"/app", true}}}, std::nullopt},
        {"Nix store",
         "/nix/store/q1w2e3-dayvane-0.1/bin/dayvane",
         "",
         "",
         {{{"/", false}, {"/nix/store", true}}},
         std::nullopt},
        {"local prefix", "/home/u/.local/bin/dayvane", "", "", {}, std::nullopt},
        {"AppImage in ~/Downloads",
         "/tmp/.mount_Dayvan1/usr/bin/dayvane",
         "/home/u/Downloads/Dayvane-x86_64.AppImage",
         "/tmp/.mount_Dayvan1",
         {{{"/", false}, {"/tmp/.mount_Dayvan1", true}}},
         DayvaneMover::Move{Kind::appImageFile, "/home/u/Downloads/Dayvane-x86_64.AppImage", appImageTarget,
                            appImageTarget}},
        {"AppImage extracted and run from a writable folder",
         "/tmp/appimage_extracted_9f/usr/bin/dayvane",
         "/home/u/Downloads/Dayvane-x86_64.AppImage",
         "/tmp/appimage_extracted_9f",
         {},
         DayvaneMover::Move{Kind::appImageFile, "/home/u/Downloads/Dayvane-x86_64.AppImage", appImageTarget,
                            appImageTarget}},
        {"AppImage already in ~/Applications",
         "/tmp/.mount_Dayvan1/usr/bin/dayvane",
         "/home/u/Applications/Dayvane.AppImage",
         "/tmp/.mount_Dayvan1",
         {},
         std::nullopt},
        {"AppImage in ~/Applications under another name",
         "/tmp/.mount_Dayvan1/usr/bin/dayvane",
         "/home/u/Applications/Dayvane-0.2-x86_64.AppImage",
         "/tmp/.mount_Dayvan1/",
         {},
         std::nullopt},
        {"variables inherited from another AppImage",
         "/usr/bin/dayvane",
         "/home/u/Downloads/Other.AppImage",
         "/tmp/.mount_Other7",
         {},
         std::nullopt},
        {"read-only medium under /media",
         "/media/u/DAYVANE/Dayvane/bin/dayvane",
         "",
         "",
         {{{"/", false}, {"/media/u/DAYVANE", true}}},
         DayvaneMover::Move{Kind::applicationTree, "/media/u/DAYVANE/Dayvane", "/home/u/Applications/Dayvane",
                            "/home/u/Applications/Dayvane/bin/dayvane"}},
        {"read-only medium under /run/media",
         "/run/media/u/DAYVANE/dayvane",
         "",
         "",
         {{{"/", false}, {"/run/media/u/DAYVANE", true}}},
         DayvaneMover::Move{Kind::applicationTree, "/run/media/u/DAYVANE", "/home/u/Applications/Dayvane",
                            "/home/u/Applications/Dayvane/dayvane"}},
        {"writable medium under /media",
         "/media/u/STICK/Dayvane/bin/dayvane",
         "",
         "",
         {{{"/", false}, {"/media/u/STICK", false}}},
         std::nullopt},
        {"read-only mount elsewhere",
         "/opt/dayvane/bin/dayvane",
         "",
         "",
         {{{"/", false}, {"/opt", true}}},
         std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DayvaneMover::Environment environment = Recorder().environment();
        environment.executable = c.executable;
        environment.appImage = c.appImage;
        environment.appDir = c.appDir;
        environment.mountOf = c.mounts;
        const auto move = DayvaneMover::moveFor(environment);
        ASSERT_EQ(move.has_value(), c.expected.has_value());
        if (move) {
            EXPECT_EQ(move->kind, c.expected->kind);
            EXPECT_EQ(move->source, c.expected->source);
            EXPECT_EQ(move->destination, c.expected->destination);
            EXPECT_EQ(move->launchTarget, c.expected->launchTarget);
        }
    }
}

TEST(DayvaneMover, nothingToMoveMakesNoOffer)
{
    Recorder recorder;
    DayvaneMover::Environment environment = recorder.environment();
    environment.appImage.clear();
    EXPECT_FALSE(DayvaneMover::offerMoveIfNeeded(environment));
    EXPECT_EQ(recorder.asked, 0);
    EXPECT_TRUE(recorder.installed.empty());
}

TEST(DayvaneMover, decliningInstallsNothing)
{
    Recorder recorder;
    recorder.accept = false;
    recorder.languages = {QStringLiteral("zh-Hans")};
    EXPECT_FALSE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    EXPECT_EQ(recorder.asked, 1);
    EXPECT_EQ(recorder.askedTitle, QStringLiteral("将 Dayvane 移到 ~/Applications 文件夹？"));
    EXPECT_TRUE(recorder.installed.empty());
    EXPECT_TRUE(recorder.launched.isEmpty());
    EXPECT_EQ(recorder.terminated, 0);
}

TEST(DayvaneMover, failureIsExplainedInTheAlertsLanguageAndCarriesOn)
{
    Recorder recorder;
    recorder.languages = {QStringLiteral("zh-Hans")};
    recorder.installError = DayvaneMover::Failure{ENOSPC, QStringLiteral("No space left on device")};
    EXPECT_FALSE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    EXPECT_EQ(recorder.failureTitle,
              QStringLiteral("无法移到 ~/Applications，请手动将 Dayvane 复制到 ~/Applications 文件夹。"));
    EXPECT_EQ(recorder.failureReason, QStringLiteral("磁盘空间不足"));
    EXPECT_EQ(recorder.failureDetail, QStringLiteral("No space left on device"));
    EXPECT_TRUE(recorder.launched.isEmpty());
    EXPECT_EQ(recorder.terminated, 0);
}

TEST(DayvaneMover, failureReasonsFollowTheErrorInBothLanguages)
{
    using DayvaneMover::Language;
    struct Case {
        int errorNumber;
        const char *chinese;
        const char *english;
    };
    const Case cases[] = {
        {EACCES, "权限不足", "Permission denied."},
        {EPERM, "权限不足", "Permission denied."},
        {ENOSPC, "磁盘空间不足", "Not enough disk space."},
        {EDQUOT, "磁盘空间不足", "Not enough disk space."},
        {EROFS, "目标位置只读", "The destination is read-only."},
        {ENOENT, "找不到文件", "A file could not be found."},
        {EIO, "读写出错", "A file could not be read or written."},
        {0, "发生意外错误", "An unexpected error occurred."},
        {EBUSY, "发生意外错误", "An unexpected error occurred."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.errorNumber);
        EXPECT_EQ(DayvaneMover::failureReason(Language::chinese, c.errorNumber), QString::fromUtf8(c.chinese));
        EXPECT_EQ(DayvaneMover::failureReason(Language::english, c.errorNumber), QString::fromUtf8(c.english));
    }
}

TEST(DayvaneMover, acceptingMovesTheAppImageLaunchesItAndEnds)
{
    Recorder recorder;
    EXPECT_TRUE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    ASSERT_EQ(recorder.installed.size(), 1u);
    EXPECT_EQ(recorder.installed.front().source, QStringLiteral("/home/u/Downloads/Dayvane-x86_64.AppImage"));
    EXPECT_EQ(recorder.launched, QStringList{"/home/u/Applications/Dayvane.AppImage"});
    EXPECT_EQ(recorder.terminated, 1);
    EXPECT_TRUE(recorder.failureTitle.isEmpty());
}

class DayvaneMoverInstall : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        // The desktop trash lives under the data home; keep it inside the test's folder.
        setenv("HOME", qPrintable(m_folder.filePath("home")), 1);
        setenv("XDG_DATA_HOME", qPrintable(m_folder.filePath("home/.local/share")), 1);
        QDir().mkpath(m_folder.filePath("home/.local/share"));
    }

    QString path(const QString &relative) const { return m_folder.filePath(relative); }

    QTemporaryDir m_folder;
};

TEST_F(DayvaneMoverInstall, copiesATreeWithItsLinksAndModes)
{
    writeFile(path("media/Dayvane/bin/dayvane"), "program");
    QFile::setPermissions(path("media/Dayvane/bin/dayvane"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(path("media/Dayvane/share/applications/dayvane.desktop"), "entry");
    ASSERT_TRUE(QFile::link("bin/dayvane", path("media/Dayvane/run")));

    const auto failure = DayvaneMover::install(
        {DayvaneMover::Move::Kind::applicationTree, path("media/Dayvane"), path("home/Applications/Dayvane"), {}});
    ASSERT_FALSE(failure) << failure->detail.toStdString();
    EXPECT_EQ(readFile(path("home/Applications/Dayvane/bin/dayvane")), "program");
    EXPECT_TRUE(QFile::permissions(path("home/Applications/Dayvane/bin/dayvane")) & QFile::ExeOwner);
    EXPECT_EQ(readFile(path("home/Applications/Dayvane/share/applications/dayvane.desktop")), "entry");
    EXPECT_EQ(QFileInfo(path("home/Applications/Dayvane/run")).symLinkTarget(),
              path("home/Applications/Dayvane/bin/dayvane"));
    EXPECT_EQ(readFile(path("media/Dayvane/bin/dayvane")), "program") << "the medium keeps its copy";
}

TEST_F(DayvaneMoverInstall, theAppImageItselfMovesAndAnOlderOneGoesToTheTrash)
{
    writeFile(path("home/Downloads/Dayvane-x86_64.AppImage"), "new");
    QFile::setPermissions(path("home/Downloads/Dayvane-x86_64.AppImage"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(path("home/Applications/Dayvane.AppImage"), "old");

    const auto failure = DayvaneMover::install({DayvaneMover::Move::Kind::appImageFile,
                                                path("home/Downloads/Dayvane-x86_64.AppImage"),
                                                path("home/Applications/Dayvane.AppImage"),
                                                {}});
    ASSERT_FALSE(failure) << failure->detail.toStdString();
    EXPECT_EQ(readFile(path("home/Applications/Dayvane.AppImage")), "new");
    EXPECT_TRUE(QFile::permissions(path("home/Applications/Dayvane.AppImage")) & QFile::ExeOwner);
    EXPECT_FALSE(QFile::exists(path("home/Downloads/Dayvane-x86_64.AppImage"))) << "moved, not copied";

    const QDir trash(path("home/.local/share/Trash/files"));
    const QStringList trashed = trash.entryList(QDir::Files);
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(readFile(trash.filePath(trashed.first())), "old");
    EXPECT_TRUE(QFile::exists(path("home/.local/share/Trash/info/") + trashed.first() + ".trashinfo"));
}

TEST_F(DayvaneMoverInstall, aMissingSourceFailsWithItsErrorAndLeavesNothing)
{
    using Kind = DayvaneMover::Move::Kind;
    for (const Kind kind : {Kind::appImageFile, Kind::applicationTree}) {
        const auto failure =
            DayvaneMover::install({kind, path("media/nothing"), path("home/Applications/Dayvane.AppImage"), {}});
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->errorNumber, ENOENT);
        EXPECT_FALSE(failure->detail.isEmpty());
        EXPECT_FALSE(QFile::exists(path("home/Applications/Dayvane.AppImage")));
    }
}

} // namespace
