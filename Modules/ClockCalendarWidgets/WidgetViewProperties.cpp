#include "WidgetViewProperties.h"

#include <ClockCalendarShared/TovikCalendarPalette.h>
#include <ClockCalendarShared/TovikLunarDate.h>

#include <QColor>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

QVariantMap properties(const ClockWidgetEntry &entry)
{
    return {
        {QStringLiteral("isGalleryPreview"), entry.isGalleryPreview},
        {QStringLiteral("dateText"), text(TovikLunarDate::dateText(entry.date))},
        {QStringLiteral("subtitle"), text(TovikLunarDate::clockSubtitle(entry.date))},
    };
}

// The application's marks: a makeup workday green (before today, as the page has it unselected), today
// cherry, an official holiday red.
QColor dayColor(const TovikCalendarCellData &cell)
{
    using namespace TovikCalendarPalette;
    if (cell.isMakeupWorkday) {
        return QColor(0x32, 0xD7, 0x4B);
    }
    if (cell.isToday) {
        return QColor::fromRgbF(todayCherryRed, todayCherryGreen, todayCherryBlue);
    }
    if (cell.holidayName) {
        return QColor(0xFF, 0x45, 0x3A);
    }
    return QColor(Qt::white);
}

QColor captionColor(TovikCalendarCaption::Kind kind)
{
    using namespace TovikCalendarPalette;
    using Kind = TovikCalendarCaption::Kind;
    switch (kind) {
    case Kind::makeupWorkday:
    case Kind::solarTerm:
        return QColor::fromRgbF(todayBlueRed, todayBlueGreen, todayBlueBlue);
    case Kind::lunarDay:
        return QColor::fromRgbF(1, 1, 1, 0.28f);
    case Kind::none:
    case Kind::holiday:
    case Kind::festival:
        break;
    }
    return QColor::fromRgbF(1, 0x45 / 255.f, 0x3A / 255.f, 0.92f);
}

QVariantMap properties(const CalendarWidgetEntry &entry)
{
    using namespace TovikCalendarPalette;
    QStringList weekdayTitles;
    for (const std::string &title : entry.grid.weekdayTitles) {
        weekdayTitles.append(text(title));
    }
    // Days of the neighbouring months stay blank.
    QStringList dayNumbers;
    QVariantList dayColors;
    QStringList captions;
    QVariantList captionColors;
    for (const TovikCalendarCellData &cell : entry.grid.cells) {
        const bool shown = cell.isCurrentMonth && cell.day > 0;
        dayNumbers.append(shown ? QString::number(cell.day) : QString());
        dayColors.append(dayColor(cell));
        // Captions only with the application's lunar switch on; the view shows them in the large family.
        const TovikCalendarCaption caption = entry.showsLunar ? cell.caption(true) : TovikCalendarCaption{};
        captions.append(text(caption.text));
        captionColors.append(captionColor(caption.kind));
    }
    const bool todayShown = entry.grid.todayIndex && entry.grid.cells.at(*entry.grid.todayIndex).isToday;
    return {
        {QStringLiteral("isGalleryPreview"), entry.isGalleryPreview},
        {QStringLiteral("monthName"), text(entry.grid.monthName)},
        {QStringLiteral("yearText"), text(entry.grid.yearText)},
        {QStringLiteral("weekdayTitles"), weekdayTitles},
        {QStringLiteral("dayNumbers"), dayNumbers},
        {QStringLiteral("dayColors"), dayColors},
        {QStringLiteral("captions"), captions},
        {QStringLiteral("captionColors"), captionColors},
        {QStringLiteral("todayIndex"), todayShown ? static_cast<int>(*entry.grid.todayIndex) : -1},
        {QStringLiteral("weekRowCount"), entry.grid.weekRowCount()},
        {QStringLiteral("todayColor"), QColor::fromRgbF(todayCherryRed, todayCherryGreen, todayCherryBlue)},
        {QStringLiteral("weekdayTitleColor"), QColor::fromRgbF(todayBlueRed, todayBlueGreen, todayBlueBlue)},
        {QStringLiteral("weekendTitleColor"), QColor::fromRgbF(1, 1, 1, weekendDayAlpha)},
        {QStringLiteral("dividerColor"), QColor::fromRgbF(1, 1, 1, dividerAlpha)},
    };
}

QVariantMap properties(const StopwatchWidgetEntry &entry)
{
    const StopwatchState &state = entry.state;
    return {
        {QStringLiteral("isGalleryPreview"), entry.isGalleryPreview},
        {QStringLiteral("isRunning"), state.isRunning()},
        {QStringLiteral("elapsedText"), text(state.elapsedText(entry.date))},
        {QStringLiteral("timerPrefix"), stopwatchTimerPrefix(state, entry.date)},
        // The instant at which the elapsed time was zero, from which the live text counts.
        {QStringLiteral("timerStart"), state.startedAt.value_or(entry.date) - state.accumulatedSeconds},
    };
}

} // namespace

QVariantMap widgetViewProperties(const ClockCalendarWidgetEntry &entry)
{
    return std::visit([](const auto &typed) { return properties(typed); }, entry);
}

QVariantMap widgetViewProperties(const WidgetEntry &entry)
{
    const auto *typed = entry.as<ClockCalendarWidgetEntry>();
    return typed ? widgetViewProperties(*typed) : QVariantMap();
}

QString stopwatchTimerPrefix(const StopwatchState &state, Instant date)
{
    const double running = state.startedAt ? std::max(0.0, date - *state.startedAt) : 0.0;
    const double seconds = std::floor(std::max(0.0, state.accumulatedSeconds + running));
    if (seconds < 600) {
        return QStringLiteral("00:0");
    }
    if (seconds < 3600) {
        return QStringLiteral("00:");
    }
    if (seconds < 36000) {
        return QStringLiteral("0");
    }
    return {};
}
