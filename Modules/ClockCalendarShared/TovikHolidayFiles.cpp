#include "TovikHolidayFiles.h"

#include <cstdlib>
#include <string>
#include <string_view>

namespace TovikHolidayFiles {
namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

} // namespace

std::vector<std::filesystem::path> folders()
{
    const std::filesystem::path subfolder = std::filesystem::path("dayvane") / "holidays";
    std::vector<std::filesystem::path> result;
    // Relative entries are ignored, as the XDG base directory rules ask.
    std::filesystem::path dataHome = environment("XDG_DATA_HOME");
    if (!dataHome.is_absolute()) {
        const std::string home = environment("HOME");
        dataHome = home.empty() ? std::filesystem::path() : std::filesystem::path(home) / ".local" / "share";
    }
    if (dataHome.is_absolute()) {
        result.push_back(dataHome / subfolder);
    }
    std::string dataDirs = environment("XDG_DATA_DIRS");
    if (dataDirs.empty()) {
        dataDirs = "/usr/local/share:/usr/share";
    }
    std::string_view rest = dataDirs;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::filesystem::path folder(rest.substr(0, colon));
        if (folder.is_absolute()) {
            result.push_back(folder / subfolder);
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return result;
}

std::optional<std::filesystem::path> fileFor(int year)
{
    const std::string name = std::to_string(year) + ".json";
    for (const auto &folder : folders()) {
        std::error_code error;
        const auto file = folder / name;
        if (std::filesystem::is_regular_file(file, error)) {
            return file;
        }
    }
    return std::nullopt;
}

} // namespace TovikHolidayFiles
