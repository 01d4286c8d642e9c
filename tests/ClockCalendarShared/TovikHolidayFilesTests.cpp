#include "TemporaryFolder.h"
#include "ZonePin.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <ClockCalendarShared/TovikChinaHolidayCalendar.h>
#include <ClockCalendarShared/TovikHolidayArrangement.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <variant>

namespace {

const bool zonePinned = pinZone("Asia/Shanghai");

namespace Holidays = TovikChinaHolidayCalendar;

// The user's folder and two system folders, set before the calendar first looks.
class HolidayFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(zonePinned);
        setenv("XDG_DATA_HOME", (m_root / "home").c_str(), 1);
        setenv("XDG_DATA_DIRS", ((m_root / "local").string() + ":" + (m_root / "system").string()).c_str(), 1);
        Holidays::reloadArrangements();
    }
    void TearDown() override { Holidays::reloadArrangements(); }

    void write(const std::string &folder, int year, const std::string &text)
    {
        const auto directory = m_root / folder / "dayvane" / "holidays";
        std::filesystem::create_directories(directory);
        std::ofstream(directory / (std::to_string(year) + ".json")) << text;
        Holidays::reloadArrangements();
    }
    void remove(const std::string &folder, int year)
    {
        std::filesystem::remove(m_root / folder / "dayvane" / "holidays" / (std::to_string(year) + ".json"));
        Holidays::reloadArrangements();
    }

    TemporaryFolder m_root;
};

// Spring Festival 2028 off from Wednesday 26 January to Tuesday 1 February, with Saturdays 22 January and
// 5 February worked instead.
const std::string springFestival2028 = R"({"year": 2028, "papers": ["notice"], "days": [
    {"name": "春节", "date": "2028-01-22", "isOffDay": false},
    {"name": "春节", "date": "2028-01-26", "isOffDay": true},
    {"name": "春节", "date": "2028-01-27", "isOffDay": true},
    {"name": "春节", "date": "2028-01-28", "isOffDay": true},
    {"name": "春节", "date": "2028-01-29", "isOffDay": true},
    {"name": "春节", "date": "2028-01-30", "isOffDay": true},
    {"name": "春节", "date": "2028-01-31", "isOffDay": true},
    {"name": "春节", "date": "2028-02-01", "isOffDay": true},
    {"name": "春节", "date": "2028-02-05", "isOffDay": false}]})";

int workdaysFrom(int year, int month, int day, int count)
{
    int workdays = 0;
    for (int i = 0; i < count; ++i) {
        workdays += Holidays::isWorkday(instantAt(year, month, day, 12) + i * 86400.0) ? 1 : 0;
    }
    return workdays;
}

TEST_F(HolidayFilesTest, AFileForANewYearDecidesItsDaysAndItsGrid)
{
    EXPECT_EQ(workdaysFrom(2028, 1, 20, 18), 12) << "without a file, only weekends are off";
    EXPECT_FALSE(Holidays::isWorkday(instantAt(2028, 1, 22)));

    write("system", 2028, springFestival2028);
    EXPECT_EQ(workdaysFrom(2028, 1, 20, 18), 9);
    EXPECT_TRUE(Holidays::isWorkday(instantAt(2028, 1, 22)));
    EXPECT_TRUE(Holidays::isMakeupWorkday(instantAt(2028, 1, 22)));
    EXPECT_EQ(Holidays::holidayName(instantAt(2028, 1, 22)), std::nullopt) << "a worked day shows 上班, no name";
    EXPECT_EQ(Holidays::holidayName(instantAt(2028, 1, 26)), "春节");
    EXPECT_FALSE(Holidays::isWorkday(instantAt(2028, 2, 1)));
    EXPECT_TRUE(Holidays::isWorkday(instantAt(2028, 2, 2)));
    EXPECT_FALSE(Holidays::isWorkday(instantAt(2028, 2, 12))) << "an ordinary Saturday";

    const auto grid = TovikCalendarGrid::make(instantAt(2028, 1, 15), instantAt(2026, 1, 1));
    // January 2028 starts on a Saturday: cell 5 is the 1st, so the 22nd is cell 26 and the 26th cell 30.
    EXPECT_TRUE(grid.cells[26].isMakeupWorkday);
    EXPECT_EQ(grid.cells[30].holidayName, "春节");
    EXPECT_TRUE(grid.cells[40].isMakeupWorkday) << "5 February, shown among the next month's days";

    remove("system", 2028);
    EXPECT_EQ(workdaysFrom(2028, 1, 20, 18), 12) << "a removed file is followed too";
}

TEST_F(HolidayFilesTest, AFileReplacesTheBuiltInYearAndNeighboursLendTheirEdges)
{
    EXPECT_EQ(Holidays::holidayName(instantAt(2027, 10, 3)), "国庆节");
    write("home", 2027, R"({"year": 2027, "days": [
        {"name": "国庆节", "date": "2027-10-01", "isOffDay": true},
        {"name": "国庆节", "date": "2027-10-09", "isOffDay": false}]})");
    EXPECT_EQ(Holidays::holidayName(instantAt(2027, 10, 1)), "国庆节");
    EXPECT_EQ(Holidays::holidayName(instantAt(2027, 10, 3)), std::nullopt) << "the built-in days are gone";
    EXPECT_TRUE(Holidays::isWorkday(instantAt(2027, 10, 9)));
    EXPECT_EQ(Holidays::holidayName(instantAt(2026, 10, 1)), "国庆节") << "other years keep theirs";

    write("system", 2028, R"({"year": 2028, "days": [{"name": "元旦", "date": "2027-12-31", "isOffDay": true}]})");
    EXPECT_FALSE(Holidays::isWorkday(instantAt(2027, 12, 31))) << "a Friday given off by the next year's notice";
    EXPECT_EQ(Holidays::holidayName(instantAt(2027, 12, 31)), "元旦");
}

TEST_F(HolidayFilesTest, TheUsersFileWinsAndARefusedFileChangesNothing)
{
    write("system", 2029, R"({"year": 2029, "days": [{"name": "元旦", "date": "2029-01-01", "isOffDay": true}]})");
    write("home", 2029, R"({"year": 2029, "days": [{"name": "新年", "date": "2029-01-01", "isOffDay": true}]})");
    EXPECT_EQ(Holidays::holidayName(instantAt(2029, 1, 1)), "新年");

    testing::internal::CaptureStderr();
    write("home", 2029, R"({"year": 2029, "days": [{"name": "新年", "date": "2029-01-02", "isOffDay": "yes"}]})");
    EXPECT_EQ(Holidays::holidayName(instantAt(2029, 1, 1)), "新年") << "what was in force stays";
    EXPECT_TRUE(Holidays::isWorkday(instantAt(2029, 1, 2)));
    const std::string complaint = testing::internal::GetCapturedStderr();
    EXPECT_NE(complaint.find("2029.json"), std::string::npos) << complaint;
    EXPECT_NE(complaint.find("isOffDay"), std::string::npos) << complaint;
    EXPECT_EQ(std::count(complaint.begin(), complaint.end(), '\n'), 1) << complaint;
}

struct Refusal {
    const char *text;
    const char *reason; // a part of the reason given
};

const Refusal refusals[] = {
    {R"({"year": 2028, "days": [)", "not valid JSON"},
    {R"({"year": 2E888, "days": []})", "not valid JSON"},
    {R"([2028])", "top level"},
    {R"({"days": []})", "\"year\""},
    {R"({"year": "2028", "days": []})", "\"year\""},
    {R"({"year": 2027, "days": []})", "in the file for 2028"},
    {R"({"year": 2028, "papers": "notice", "days": []})", "\"papers\""},
    {R"({"year": 2028, "papers": [1], "days": []})", "\"papers\""},
    {R"({"year": 2028})", "\"days\""},
    {R"({"year": 2028, "days": {}})", "\"days\""},
    {R"({"year": 2028, "days": ["2028-01-01"]})", "not an object"},
    {R"({"year": 2028, "days": [{"date": "2028-01-01", "isOffDay": true}]})", "\"name\""},
    {R"({"year": 2028, "days": [{"name": "", "date": "2028-01-01", "isOffDay": true}]})", "\"name\""},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": 20280101, "isOffDay": true}]})", "\"date\""},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": "2028-1-1", "isOffDay": true}]})", "yyyy-MM-dd"},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": "2028-02-30", "isOffDay": true}]})", "yyyy-MM-dd"},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": "2028-01-01", "isOffDay": 1}]})", "\"isOffDay\""},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": "2027-11-30", "isOffDay": true}]})", "too far"},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": "2029-02-01", "isOffDay": true}]})", "too far"},
    {R"({"year": 2028, "days": [{"name": "元旦", "date": "2028-01-01", "isOffDay": true},
        {"name": "元旦", "date": "2028-01-01", "isOffDay": true}]})",
     "twice"},
    {R"({"year": 2028, "days": [{"name": "春节", "date": "2028-01-24", "isOffDay": false}]})",
     "not a Saturday or Sunday"},
};

TEST(HolidayArrangementTest, RefusesAFileWholeWithItsReason)
{
    for (const Refusal &refusal : refusals) {
        const auto result = TovikHolidayArrangement::parse(refusal.text, 2028);
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << refusal.text;
        EXPECT_NE(std::get<std::string>(result).find(refusal.reason), std::string::npos)
            << refusal.text << " gave " << std::get<std::string>(result);
    }
    const auto edges = TovikHolidayArrangement::parse(R"({"year": 2028, "days": [
        {"name": "元旦", "date": "2027-12-01", "isOffDay": true},
        {"name": "元旦", "date": "2029-01-31", "isOffDay": true}]})",
                                                      2028);
    ASSERT_TRUE(std::holds_alternative<TovikHolidayArrangement>(edges)) << std::get<std::string>(edges);
    EXPECT_EQ(std::get<TovikHolidayArrangement>(edges).daysByKey.size(), 2U);
}

TEST(HolidayArrangementTest, AVerdictNamesTheFile)
{
    TemporaryFolder folder;
    std::ofstream(folder / "2028.json") << springFestival2028;
    std::ofstream(folder / "holidays.json") << springFestival2028;
    bool accepted = false;
    EXPECT_EQ(TovikHolidayArrangement::verdict(folder / "2028.json", &accepted),
              (folder / "2028.json").string() + ": ok (9 days)");
    EXPECT_TRUE(accepted);
    EXPECT_EQ(TovikHolidayArrangement::verdict(folder / "holidays.json", &accepted),
              (folder / "holidays.json").string() + ": the file name is not YEAR.json");
    EXPECT_FALSE(accepted);
    EXPECT_NE(TovikHolidayArrangement::verdict(folder / "2030.json", &accepted).find("cannot be read"),
              std::string::npos);
    EXPECT_FALSE(accepted);
}

} // namespace
