#pragma once

// The accent colours and translucency levels shared by the calendar page and the calendar widget
// (sRGB components and alphas 0 to 1; the radius in points). Numbers only: each user builds its own colour.
namespace TovikCalendarPalette {

inline constexpr double todayBlueRed = 0.04;
inline constexpr double todayBlueGreen = 0.52;
inline constexpr double todayBlueBlue = 1.0;
inline constexpr double todayCherryRed = 0.87;
inline constexpr double todayCherryGreen = 0.19;
inline constexpr double todayCherryBlue = 0.39;
inline constexpr double selectionBlueRed = 0.55;
inline constexpr double selectionBlueGreen = 0.78;
inline constexpr double selectionBlueBlue = 1.0;
inline constexpr double selectionFillAlpha = 0.3;
inline constexpr double selectionCornerRadius = 8.0;
inline constexpr double dividerAlpha = 0.18;
inline constexpr double weekendDayAlpha = 0.62;

} // namespace TovikCalendarPalette
