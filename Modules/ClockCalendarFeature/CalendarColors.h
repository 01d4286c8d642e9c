#pragma once

#include <ClockCalendarShared/TovikCalendarPalette.h>
#include <TovikKit/TovikColors.h>

// The calendar page's accents, built from the shared calendar palette the calendar widget uses too.
namespace CalendarColors {

inline QColor todayBlue()
{
    using namespace TovikCalendarPalette;
    return TovikColors::fromComponents(todayBlueRed, todayBlueGreen, todayBlueBlue);
}

inline QColor todayCherry()
{
    using namespace TovikCalendarPalette;
    return TovikColors::fromComponents(todayCherryRed, todayCherryGreen, todayCherryBlue);
}

inline QColor selectionFill()
{
    using namespace TovikCalendarPalette;
    return TovikColors::fromComponents(selectionBlueRed, selectionBlueGreen, selectionBlueBlue, selectionFillAlpha);
}

} // namespace CalendarColors
