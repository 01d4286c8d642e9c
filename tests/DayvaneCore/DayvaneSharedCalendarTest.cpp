// The lunar switch as the application mirrors it into the shared suite and the widgets read it back.
#include <DayvaneCore/DayvaneSharedCalendar.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <gtest/gtest.h>

#include <filesystem>

TEST(DayvaneSharedCalendar, theMirroredSwitchReadsBackAndAbsentOrMissingMeansOff)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "dayvane-shared-calendar-test";
    std::filesystem::remove_all(folder);
    const auto suite = TovikSettingsStore::open(folder / "settings.sqlite3");
    ASSERT_TRUE(suite);
    EXPECT_FALSE(DayvaneSharedCalendar::showsLunar(suite));
    EXPECT_FALSE(DayvaneSharedCalendar::showsLunar(nullptr));
    for (const bool shows : {true, true, false}) {
        DayvaneSharedCalendar::mirrorShowsLunar(suite, shows);
        EXPECT_EQ(DayvaneSharedCalendar::showsLunar(suite), shows);
        EXPECT_EQ(suite->boolean(DayvaneSharedCalendar::showsLunarKey), shows);
    }
    DayvaneSharedCalendar::mirrorShowsLunar(nullptr, true);
    std::filesystem::remove_all(folder);
}
