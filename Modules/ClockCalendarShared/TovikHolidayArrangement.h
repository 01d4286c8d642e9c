#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <variant>

// One year's official arrangement of days off and makeup workdays, as read from a YEAR.json file in the
// common format {"year": 2028, "papers": [...], "days": [{"name", "date", "isOffDay"}, ...]}. A file is
// taken whole or not at all: parse() either returns every day of it or the one reason it was refused.
struct TovikHolidayArrangement {
    struct Day {
        std::string name;
        bool isOffDay = true; // false: a weekend day worked instead
    };

    int year = 0;
    std::map<int, Day> daysByKey; // keyed by the integer day key yyyymmdd

    // `expectedYear` is the year the file's name gives; the text's own year must match it.
    static std::variant<TovikHolidayArrangement, std::string> parse(std::string_view text, int expectedYear);
    // Reads and parses `file`, named YEAR.json; the reason names what was wrong, not the file.
    static std::variant<TovikHolidayArrangement, std::string> load(const std::filesystem::path &file);
    // The verdict on one file as its author wants to read it: "<file>: ok (N days)" or "<file>: <reason>".
    static std::string verdict(const std::filesystem::path &file, bool *accepted = nullptr);
};
