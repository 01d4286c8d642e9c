// The host zone is read again from the /etc/localtime link at each call, so a zone changed while the
// program runs is followed; TZ, when set, still decides.
#include <ClockCalendarShared/TovikHostTimeZone.h>

#include <gtest/gtest.h>
#include <unicode/timezone.h>

#include <cstdlib>
#include <filesystem>
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
    std::string detected() const { return idOf(*TovikHostTimeZone::detect(m_link.c_str())); }

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
