// The host zone is read again from /etc/localtime at each call, so a zone changed while the program runs is
// followed, whether the file is a link or a copy; TZ, when set, still decides.
#include <ClockCalendarShared/TovikHostTimeZone.h>

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

std::string idOf(const icu::TimeZone &zone)
{
    icu::UnicodeString id;
    zone.getID(id);
    std::string text;
    id.toUTF8String(text);
    return text;
}

class TovikHostTimeZoneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dayvane-zone-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_link = m_folder / "localtime";
        m_zoneinfo = m_folder / "zoneinfo";
        unsetenv("TZ");
    }
    void TearDown() override
    {
        std::filesystem::remove_all(m_folder);
        setenv("TZ", "Asia/Shanghai", 1);
    }
    void linkTo(const std::string &target)
    {
        std::filesystem::remove(m_link);
        std::filesystem::create_symlink(target, m_link);
    }
    // A copy of a zone file, as some images install it; the zone database is a small one of our own.
    void copyOf(const std::string &zone)
    {
        std::filesystem::remove(m_link);
        std::filesystem::copy_file(m_zoneinfo / zone, m_link);
    }
    void addToDatabase(const std::string &zone, const std::string &source)
    {
        std::filesystem::create_directories((m_zoneinfo / zone).parent_path());
        std::filesystem::copy_file("/usr/share/zoneinfo/" + source, m_zoneinfo / zone);
    }
    std::string detected() const { return idOf(*TovikHostTimeZone::detect(m_link.c_str(), m_zoneinfo.c_str())); }

    std::filesystem::path m_zoneinfo;

    std::filesystem::path m_folder;
    std::filesystem::path m_link;
};

} // namespace

TEST_F(TovikHostTimeZoneTest, FollowsTheLinkWhenItChanges)
{
    linkTo("/usr/share/zoneinfo/Asia/Shanghai");
    EXPECT_EQ(detected(), "Asia/Shanghai");
    linkTo("../usr/share/zoneinfo/America/Los_Angeles");
    EXPECT_EQ(detected(), "America/Los_Angeles");
}

TEST_F(TovikHostTimeZoneTest, TzWinsOverTheLink)
{
    linkTo("/usr/share/zoneinfo/Asia/Shanghai");
    setenv("TZ", "Europe/Berlin", 1);
    EXPECT_EQ(detected(), "Europe/Berlin");
}

TEST_F(TovikHostTimeZoneTest, ALinkThatNamesNoZoneFallsBackToTheSystemsAnswer)
{
    const std::string system = idOf(*std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone()));
    linkTo("/usr/share/zoneinfo/Nowhere/Atlantis");
    EXPECT_EQ(detected(), system);
    linkTo("/somewhere/else");
    EXPECT_EQ(detected(), system);
    std::filesystem::remove(m_link);
    EXPECT_EQ(detected(), system);
}

TEST_F(TovikHostTimeZoneTest, FollowsACopiedFileWhenItIsReplacedOrRewritten)
{
    addToDatabase("Asia/Chongqing", "Asia/Shanghai");
    addToDatabase("Asia/Shanghai", "Asia/Shanghai");
    addToDatabase("America/Los_Angeles", "America/Los_Angeles");
    addToDatabase("Europe/Berlin", "Europe/Berlin");

    // Two names share the Shanghai file: the canonical one is taken.
    copyOf("Asia/Shanghai");
    EXPECT_EQ(detected(), "Asia/Shanghai");
    // Replaced by another file (a new inode).
    copyOf("America/Los_Angeles");
    EXPECT_EQ(detected(), "America/Los_Angeles");
    // Rewritten in place (same inode, a new modification time).
    {
        std::ofstream rewrite(m_link, std::ios::binary | std::ios::trunc);
        std::ifstream berlin(m_zoneinfo / "Europe/Berlin", std::ios::binary);
        rewrite << berlin.rdbuf();
    }
    EXPECT_EQ(detected(), "Europe/Berlin");
    // A file matching no zone leaves it to the system's answer.
    const std::string system = idOf(*std::unique_ptr<icu::TimeZone>(icu::TimeZone::detectHostTimeZone()));
    {
        std::ofstream rewrite(m_link, std::ios::binary | std::ios::trunc);
        rewrite << "TZif, but not a zone of ours";
    }
    EXPECT_EQ(detected(), system);
}
