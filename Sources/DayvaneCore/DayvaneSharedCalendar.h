#pragma once

#include <memory>
#include <string_view>

class TovikSettingsStore;

// The calendar switches the widgets read from the shared suite "K9PZQW41RT.local.tovik.dayvane": the
// application mirrors its own setting there, since the widget extension never opens the application's store.
namespace DayvaneSharedCalendar {

inline constexpr std::string_view showsLunarKey = "dayvane.calendar.showsLunar";

// The shared suite, opened once; none when it cannot be opened.
std::shared_ptr<TovikSettingsStore> suite();

// False when absent or unreadable.
bool showsLunar(const std::shared_ptr<TovikSettingsStore> &suite);
// Writes the switch and reloads the calendar widget's timelines, only when the suite held another value.
void mirrorShowsLunar(const std::shared_ptr<TovikSettingsStore> &suite, bool shows);

} // namespace DayvaneSharedCalendar
