#include "WidgetAutostart.h"

#include <Platform/Settings/TovikSettingsStore.h>

#include <fstream>

namespace {

// A desktop entry's Exec argument: quoted when it holds a reserved character, with `"`, `` ` ``, `$`
// and `\` escaped inside the quotes, every backslash doubled again for the string value, and a literal
// `%` doubled so that it is not read as a field code.
std::string execArgument(const std::string &argument)
{
    static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`=%";
    if (argument.find_first_of(reserved) == std::string::npos) {
        return argument;
    }
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    std::string escaped;
    for (const char c : quoted) {
        escaped += c;
        if (c == '\\' || c == '%') {
            escaped += c;
        }
    }
    return escaped;
}

} // namespace

namespace WidgetAutostart {

std::filesystem::path entryFile()
{
    return TovikSettingsStore::configHome() / "autostart" / "dayvane-widget-host.desktop";
}

std::filesystem::path templateFile(const std::filesystem::path &executable)
{
    return (executable.parent_path() / ".." / "share" / "dayvane" / "autostart" / "dayvane-widget-host.desktop")
        .lexically_normal();
}

std::string entryText(const std::filesystem::path &executable)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Dayvane Widgets\n"
           "Name[zh_CN]=Dayvane 桌面小组件\n"
           "Exec="
           + execArgument(executable.string())
           + "\n"
             "Icon=dayvane\n"
             "Terminal=false\n"
             "X-GNOME-Autostart-enabled=true\n";
}

bool isEnabled()
{
    std::error_code error;
    return std::filesystem::exists(entryFile(), error);
}

bool setEnabled(bool enabled, const std::filesystem::path &executable)
{
    const std::filesystem::path entry = entryFile();
    std::error_code error;
    if (!enabled) {
        std::filesystem::remove(entry, error);
        return !std::filesystem::exists(entry, error);
    }
    std::filesystem::create_directories(entry.parent_path(), error);
    const std::filesystem::path installed = templateFile(executable);
    if (std::filesystem::exists(installed, error)) {
        return std::filesystem::copy_file(installed, entry, std::filesystem::copy_options::overwrite_existing, error);
    }
    std::ofstream out(entry, std::ios::binary | std::ios::trunc);
    out << entryText(executable);
    return static_cast<bool>(out.flush());
}

} // namespace WidgetAutostart
