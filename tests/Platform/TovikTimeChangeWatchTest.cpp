// The host zone file changing under a running program is noticed, however it is changed.
#include <Platform/Ui/TovikTimeChangeWatch.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// As timedatectl does: a new link renamed over the old one.
void relink(const fs::path &link, const fs::path &target)
{
    const fs::path fresh = link.parent_path() / "localtime.new";
    fs::create_symlink(target, fresh);
    fs::rename(fresh, link);
}

} // namespace

TEST(TovikTimeChangeWatch, NoticesTheZoneFileRelinkedAgainAndAgain)
{
    QTemporaryDir folder;
    const fs::path link = folder.filePath(QStringLiteral("localtime")).toStdString();
    fs::create_symlink("/usr/share/zoneinfo/Asia/Shanghai", link);
    TovikTimeChangeWatch watch(QString::fromStdString(link.string()));
    QSignalSpy changed(&watch, &TovikTimeChangeWatch::changed);

    relink(link, "/usr/share/zoneinfo/America/Los_Angeles");
    EXPECT_TRUE(changed.wait(5000));
    changed.clear();
    relink(link, "/usr/share/zoneinfo/Europe/Berlin");
    EXPECT_TRUE(changed.wait(5000));
}

TEST(TovikTimeChangeWatch, NoticesACopiedZoneFileRewrittenInPlace)
{
    QTemporaryDir folder;
    const fs::path file = folder.filePath(QStringLiteral("localtime")).toStdString();
    fs::copy_file("/usr/share/zoneinfo/Asia/Shanghai", file);
    TovikTimeChangeWatch watch(QString::fromStdString(file.string()));
    QSignalSpy changed(&watch, &TovikTimeChangeWatch::changed);

    {
        std::ofstream rewrite(file, std::ios::binary | std::ios::trunc);
        std::ifstream berlin("/usr/share/zoneinfo/Europe/Berlin", std::ios::binary);
        rewrite << berlin.rdbuf();
    }
    EXPECT_TRUE(changed.wait(5000));
}
