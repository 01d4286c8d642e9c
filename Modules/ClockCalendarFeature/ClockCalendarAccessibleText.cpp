#include "ClockCalendarAccessibleText.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <ClockCalendarShared/TovikLunarDate.h>

#include <optional>
#include <string>

namespace {

// The festival and the solar term of a day, each after a space, unless `said` already is that name.
void appendLunarMarks(QString &text, const TovikCalendarCellData &cell, const std::optional<std::string> &said)
{
    for (const std::optional<std::string> &mark : {cell.festivalName, cell.solarTermName}) {
        if (mark && mark != said) {
            text += QLatin1Char(' ') + QString::fromStdString(*mark);
        }
    }
}

} // namespace

namespace ClockCalendarAccessibleText {

QString dayName(const TovikCalendarCellData &cell)
{
    const TovikGregorianCalendar::YearMonthDay date = TovikGregorianCalendar::components(cell.date);
    QString name = QStringLiteral("%1年%2月%3日 %4")
                       .arg(date.year)
                       .arg(date.month)
                       .arg(date.day)
                       .arg(QString::fromStdString(TovikLunarDate::weekdayText(cell.date)));
    if (cell.isCurrentMonth && cell.isMakeupWorkday) {
        name += QStringLiteral(" 上班");
    } else if (cell.holidayName) {
        name += QLatin1Char(' ') + QString::fromStdString(*cell.holidayName);
    }
    appendLunarMarks(name, cell, cell.holidayName);
    if (cell.lunarDay) {
        name += QLatin1Char(' ') + QString::fromStdString(cell.lunarDateText());
    }
    return name;
}

QString dayToolTip(const TovikCalendarCellData &cell)
{
    if (!cell.isCurrentMonth || !cell.lunarDay) {
        return {};
    }
    QString tip = QString::fromStdString(TovikLunarDate::clockSubtitle(cell.date));
    appendLunarMarks(tip, cell, std::nullopt);
    return tip;
}

} // namespace ClockCalendarAccessibleText
