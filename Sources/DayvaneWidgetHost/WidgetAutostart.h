#pragma once

#include <filesystem>
#include <string>

// The 登录时启动 switch: an XDG autostart entry for the host in the user's autostart folder. Turning it on
// copies the installed template when there is one, else writes an entry that starts this very program.
namespace WidgetAutostart {

// $XDG_CONFIG_HOME/autostart/dayvane-widget-host.desktop
std::filesystem::path entryFile();
// <prefix>/share/dayvane/autostart/dayvane-widget-host.desktop for a program in <prefix>/bin.
std::filesystem::path templateFile(const std::filesystem::path &executable);
// The entry written when no template is installed; its Exec names `executable`, quoted as desktop
// entries require.
std::string entryText(const std::filesystem::path &executable);

bool isEnabled();
// Whether the entry is now as asked.
bool setEnabled(bool enabled, const std::filesystem::path &executable);

} // namespace WidgetAutostart
