#include <Dayvane/DayvaneMover.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

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

// An environment that records what the offer did instead of doing it.
struct Recorder {
    bool readOnly = true;
    QStringList languages = {QStringLiteral("en-US")};
    bool accept = true;
    std::optional<QString> installError;

    int asked = 0;
    QString askedTitle;
    QStringList installed;
    QString failureTitle;
    QString failureDescription;
    QStringList launched;
    int terminated = 0;

    DayvaneMover::Environment environment()
    {
        DayvaneMover::Environment e;
        e.installedTree = QStringLiteral("/media/cdrom/Dayvane");
        e.destination = QStringLiteral("/home/u/Applications/Dayvane");
        e.launchTarget = QStringLiteral("/home/u/Applications/Dayvane/bin/dayvane");
        e.isReadOnly = [this](const QString &) { return readOnly; };
        e.preferredLanguages = [this] { return languages; };
        e.askToMove = [this](const DayvaneMover::Texts &texts) {
            ++asked;
            askedTitle = texts.title;
            return accept;
        };
        e.install = [this](const QString &source, const QString &destination) {
            installed << source << destination;
            return installError;
        };
        e.showFailure = [this](const DayvaneMover::Texts &texts, const QString &description) {
            failureTitle = texts.failureTitle;
            failureDescription = description;
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
            EXPECT_EQ(texts.title, QStringLiteral("将 Dayvane 移到「应用程序」文件夹？"));
            EXPECT_EQ(texts.move, QStringLiteral("移到应用程序"));
            EXPECT_EQ(texts.decline, QStringLiteral("暂不"));
        } else {
            EXPECT_EQ(texts.title, QStringLiteral("Move Dayvane to the Applications folder?"));
            EXPECT_EQ(texts.move, QStringLiteral("Move to Applications"));
            EXPECT_EQ(texts.decline, QStringLiteral("Not Now"));
        }
    }
}

TEST(DayvaneMover, writableLocationMakesNoOffer)
{
    Recorder recorder;
    recorder.readOnly = false;
    EXPECT_FALSE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    EXPECT_EQ(recorder.asked, 0);
    EXPECT_TRUE(recorder.installed.isEmpty());
}

TEST(DayvaneMover, decliningInstallsNothing)
{
    Recorder recorder;
    recorder.accept = false;
    recorder.languages = {QStringLiteral("zh-Hans")};
    EXPECT_FALSE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    EXPECT_EQ(recorder.asked, 1);
    EXPECT_EQ(recorder.askedTitle, QStringLiteral("将 Dayvane 移到「应用程序」文件夹？"));
    EXPECT_TRUE(recorder.installed.isEmpty());
    EXPECT_TRUE(recorder.launched.isEmpty());
    EXPECT_EQ(recorder.terminated, 0);
}

TEST(DayvaneMover, failureShowsTheDescriptionAndCarriesOn)
{
    Recorder recorder;
    recorder.installError = QStringLiteral("No space left on device");
    EXPECT_FALSE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    EXPECT_EQ(
        recorder.failureTitle,
        QStringLiteral("Couldn’t move Dayvane to Applications. Drag Dayvane to the Applications folder instead."));
    EXPECT_EQ(recorder.failureDescription, QStringLiteral("No space left on device"));
    EXPECT_TRUE(recorder.launched.isEmpty());
    EXPECT_EQ(recorder.terminated, 0);
}

TEST(DayvaneMover, acceptingInstallsLaunchesTheCopyAndEnds)
{
    Recorder recorder;
    EXPECT_TRUE(DayvaneMover::offerMoveIfNeeded(recorder.environment()));
    EXPECT_EQ(recorder.installed, (QStringList{"/media/cdrom/Dayvane", "/home/u/Applications/Dayvane"}));
    EXPECT_EQ(recorder.launched, QStringList{"/home/u/Applications/Dayvane/bin/dayvane"});
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

    const auto error = DayvaneMover::install(path("media/Dayvane"), path("home/Applications/Dayvane"));
    ASSERT_FALSE(error) << error->toStdString();
    EXPECT_EQ(readFile(path("home/Applications/Dayvane/bin/dayvane")), "program");
    EXPECT_TRUE(QFile::permissions(path("home/Applications/Dayvane/bin/dayvane")) & QFile::ExeOwner);
    EXPECT_EQ(readFile(path("home/Applications/Dayvane/share/applications/dayvane.desktop")), "entry");
    EXPECT_EQ(QFileInfo(path("home/Applications/Dayvane/run")).symLinkTarget(),
              path("home/Applications/Dayvane/bin/dayvane"));
}

TEST_F(DayvaneMoverInstall, anOlderCopyGoesToTheTrash)
{
    writeFile(path("media/Dayvane.AppImage"), "new");
    writeFile(path("home/Applications/Dayvane.AppImage"), "old");

    const auto error =
        DayvaneMover::install(path("media/Dayvane.AppImage"), path("home/Applications/Dayvane.AppImage"));
    ASSERT_FALSE(error) << error->toStdString();
    EXPECT_EQ(readFile(path("home/Applications/Dayvane.AppImage")), "new");

    const QDir trash(path("home/.local/share/Trash/files"));
    const QStringList trashed = trash.entryList(QDir::Files);
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(readFile(trash.filePath(trashed.first())), "old");
    EXPECT_TRUE(QFile::exists(path("home/.local/share/Trash/info/") + trashed.first() + ".trashinfo"));
}

TEST_F(DayvaneMoverInstall, aMissingSourceIsReportedWithADescription)
{
    const auto error = DayvaneMover::install(path("media/nothing"), path("home/Applications/Dayvane.AppImage"));
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(QFile::exists(path("home/Applications/Dayvane.AppImage")));
}

} // namespace
