#include "TovikHolidayArrangement.h"

#include "TovikCivilDays.h"

#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

namespace {

using Result = std::variant<TovikHolidayArrangement, std::string>;

// Far more than any real notice; a larger file is not one of ours.
constexpr std::uintmax_t maximumFileBytes = std::uintmax_t{256} * 1024;
// A notice for one year may reach into the neighbouring December or January, never further.
constexpr int earliestMonthOffset = -1;
constexpr int latestMonthOffset = 1;

std::optional<int> number(std::string_view digits)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

// "yyyy-MM-dd" exactly, a date that exists.
std::optional<TovikCivilDays::Civil> parseDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9') {
            return std::nullopt;
        }
    }
    const int year = *number(text.substr(0, 4));
    const int month = *number(text.substr(5, 2));
    const int day = *number(text.substr(8, 2));
    if (month < 1 || month > 12 || day < 1 || day > TovikCivilDays::daysInMonth(year, month)) {
        return std::nullopt;
    }
    return TovikCivilDays::Civil{year, month, day};
}

// Months since year 0, so that "the neighbouring December or January" is a plain distance.
int monthIndex(int year, int month)
{
    return year * 12 + month - 1;
}

// Adds one entry of "days"; the reason when it is refused.
std::optional<std::string> addDay(const nlohmann::json &entry, std::size_t index, int year,
                                  TovikHolidayArrangement &arrangement)
{
    const std::string where = "days[" + std::to_string(index) + "]";
    if (!entry.is_object()) {
        return where + " is not an object";
    }
    const auto name = entry.find("name");
    const auto date = entry.find("date");
    const auto isOffDay = entry.find("isOffDay");
    if (name == entry.end() || !name->is_string() || name->get_ref<const std::string &>().empty()) {
        return where + ": \"name\" must be a text that is not empty";
    }
    if (date == entry.end() || !date->is_string()) {
        return where + ": \"date\" must be a text";
    }
    if (isOffDay == entry.end() || !isOffDay->is_boolean()) {
        return where + ": \"isOffDay\" must be true or false";
    }
    const std::string &dateText = date->get_ref<const std::string &>();
    const auto civil = parseDate(dateText);
    if (!civil) {
        return where + ": \"" + dateText + "\" is not a date written yyyy-MM-dd";
    }
    const int distance = monthIndex(civil->year, civil->month);
    if (distance < monthIndex(year, 1) + earliestMonthOffset || distance > monthIndex(year, 12) + latestMonthOffset) {
        return where + ": " + dateText + " lies too far outside " + std::to_string(year);
    }
    const int key = TovikCivilDays::dayKey(civil->year, civil->month, civil->day);
    if (arrangement.daysByKey.contains(key)) {
        return where + ": " + dateText + " is listed twice";
    }
    const bool offDay = isOffDay->get<bool>();
    const int weekday =
        TovikCivilDays::weekdayOfDays(TovikCivilDays::daysFromCivil(civil->year, civil->month, civil->day));
    if (!offDay && weekday != 1 && weekday != 7) {
        return where + ": the makeup workday " + dateText + " is not a Saturday or Sunday";
    }
    arrangement.daysByKey.emplace(key, TovikHolidayArrangement::Day{name->get<std::string>(), offDay});
    return std::nullopt;
}

} // namespace

Result TovikHolidayArrangement::parse(std::string_view text, int expectedYear)
{
    nlohmann::json document;
    try {
        document = nlohmann::json::parse(text.begin(), text.end());
    } catch (const nlohmann::json::parse_error &error) {
        return "not valid JSON (byte " + std::to_string(error.byte) + ")";
    } catch (const nlohmann::json::exception &) {
        // A number beyond what a double holds is refused the same way, not as a crash.
        return std::string("not valid JSON (a number out of range)");
    }
    if (!document.is_object()) {
        return std::string("the top level is not an object");
    }
    const auto year = document.find("year");
    if (year == document.end() || !year->is_number_integer()) {
        return std::string("\"year\" must be a whole number");
    }
    if (year->get<std::int64_t>() != expectedYear) {
        return "\"year\" is " + year->dump() + " in the file for " + std::to_string(expectedYear);
    }
    const auto papers = document.find("papers");
    if (papers != document.end()) {
        if (!papers->is_array()) {
            return std::string("\"papers\" must be a list of texts");
        }
        for (const auto &paper : *papers) {
            if (!paper.is_string()) {
                return std::string("\"papers\" must be a list of texts");
            }
        }
    }
    const auto days = document.find("days");
    if (days == document.end() || !days->is_array()) {
        return std::string("\"days\" must be a list");
    }
    TovikHolidayArrangement arrangement;
    arrangement.year = expectedYear;
    for (std::size_t i = 0; i < days->size(); ++i) {
        if (auto reason = addDay((*days)[i], i, expectedYear, arrangement)) {
            return *std::move(reason);
        }
    }
    return arrangement;
}

Result TovikHolidayArrangement::load(const std::filesystem::path &file)
{
    const std::string stem = file.stem().string();
    const auto year = stem.size() == 4 ? number(stem) : std::nullopt;
    if (!year || file.extension() != ".json") {
        return std::string("the file name is not YEAR.json");
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) {
        return "cannot be read: " + error.message();
    }
    if (size > maximumFileBytes) {
        return std::string("larger than 256 KiB");
    }
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream contents;
    contents << stream.rdbuf();
    if (!stream) {
        return std::string("cannot be read");
    }
    return parse(contents.str(), *year);
}

std::string TovikHolidayArrangement::verdict(const std::filesystem::path &file, bool *accepted)
{
    const Result result = load(file);
    if (accepted) {
        *accepted = std::holds_alternative<TovikHolidayArrangement>(result);
    }
    if (const auto *reason = std::get_if<std::string>(&result)) {
        return file.string() + ": " + *reason;
    }
    const std::size_t days = std::get<TovikHolidayArrangement>(result).daysByKey.size();
    return file.string() + ": ok (" + std::to_string(days) + (days == 1 ? " day)" : " days)");
}
