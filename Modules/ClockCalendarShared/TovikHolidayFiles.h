#pragma once

#include <filesystem>
#include <optional>
#include <vector>

// Where the arrangement files YEAR.json are looked up: dayvane/holidays/ under $XDG_DATA_HOME (default
// ~/.local/share), then under each folder of $XDG_DATA_DIRS (default /usr/local/share:/usr/share). A
// package update, an administrator or the user puts them there; the first file for a year wins.
namespace TovikHolidayFiles {

std::vector<std::filesystem::path> folders();
std::optional<std::filesystem::path> fileFor(int year);

} // namespace TovikHolidayFiles
