#include "TovikCalendarGrid.h"

#include "TovikChinaHolidayCalendar.h"
#include "TovikCivilDays.h"
#include "TovikGregorianCalendar.h"
#include "TovikLunarFestivals.h"
#include "TovikSolarTerms.h"

#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <algorithm>
#include <memory>
#include <mutex>

namespace {

constexpr int cellCount = 42;
constexpr int daysPerWeek = 7;
constexpr Instant secondsPerDay = 86400;

// The title formatters see a date already reduced to its year and month: they format noon UTC of that day
// on a purely Gregorian calendar, so their texts cannot disagree with the grid's own calendar.
class TitleFormatter {
public:
    explicit TitleFormatter(const char *pattern)
    {
        UErrorCode status = U_ZERO_ERROR;
        m_format = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern), icu::Locale("zh_CN"),
                                                           status);
        if (U_FAILURE(status)) {
            m_format.reset();
            return;
        }
        auto calendar = std::make_unique<icu::GregorianCalendar>(*icu::TimeZone::getGMT(), status);
        calendar->setGregorianChange(-1e300, status);
        m_format->adoptCalendar(calendar.release());
    }

    std::string format(const TovikGregorianCalendar::YearMonthDay &day)
    {
        std::string text;
        if (!m_format || day.month < 1 || day.month > 12)
            return text;
        const double noon =
            (TovikCivilDays::daysFromCivil(day.year, day.month, day.day) * secondsPerDay + 43200) * 1000.0;
        std::lock_guard lock(m_mutex);
        icu::UnicodeString formatted;
        m_format->format(noon, formatted);
        formatted.toUTF8String(text);
        return text;
    }

private:
    std::mutex m_mutex;
    std::unique_ptr<icu::SimpleDateFormat> m_format;
};

TitleFormatter &monthNameFormatter()
{
    static auto *instance = new TitleFormatter("M月");
    return *instance;
}

TitleFormatter &yearFormatter()
{
    static auto *instance = new TitleFormatter("yyyy年");
    return *instance;
}

// Local midnights of the 42 days from the grid's first cell: whole days of 86400 s where the zone keeps
// its offset throughout, else one calendar addition per day so that a skipped midnight stays one day.
// Adding days keeps the wall time, and the first of a month whose midnight was skipped starts later than
// 00:00, so each day is brought back to its own start.
std::array<std::optional<Instant>, cellCount> cellDates(Instant firstDay, int leading)
{
    const auto dayStart = [](std::optional<Instant> instant) -> std::optional<Instant> {
        if (!instant)
            return std::nullopt;
        return TovikGregorianCalendar::startOfDay(*instant);
    };
    std::array<std::optional<Instant>, cellCount> dates;
    const auto start = dayStart(TovikGregorianCalendar::addingDays(firstDay, -leading));
    if (start && !TovikGregorianCalendar::mayChangeOffset(*start, *start + cellCount * secondsPerDay)) {
        for (int i = 0; i < cellCount; ++i)
            dates[i] = *start + i * secondsPerDay;
        return dates;
    }
    for (int i = 0; i < cellCount; ++i)
        dates[i] = dayStart(TovikGregorianCalendar::addingDays(firstDay, i - leading));
    return dates;
}

} // namespace

TovikCalendarCaption TovikCalendarCellData::caption(bool showsLunar) const
{
    using Kind = TovikCalendarCaption::Kind;
    if (!isCurrentMonth)
        return {};
    if (isMakeupWorkday)
        return {"上班", Kind::makeupWorkday};
    if (holidayName)
        return {*holidayName, Kind::holiday};
    if (!showsLunar)
        return {};
    if (festivalName)
        return {*festivalName, Kind::festival};
    if (solarTermName)
        return {*solarTermName, Kind::solarTerm};
    if (!lunarDay)
        return {};
    return {lunarDay->day == 1 ? TovikLunarDate::monthName(*lunarDay) : TovikLunarDate::dayName(lunarDay->day),
            Kind::lunarDay};
}

std::string TovikCalendarCellData::lunarDateText() const
{
    if (!lunarDay)
        return {};
    return "农历" + TovikLunarDate::monthName(*lunarDay) + TovikLunarDate::dayName(lunarDay->day);
}

int TovikCalendarGrid::weekRowCount() const
{
    const auto last = std::find_if(cells.rbegin(), cells.rend(),
                                   [](const TovikCalendarCellData &cell) { return cell.isCurrentMonth; });
    if (last == cells.rend())
        return 4;
    return std::max(4, static_cast<int>(last->id / daysPerWeek) + 1);
}

const std::array<std::string, 7> &TovikCalendarGrid::standardWeekdayTitles()
{
    static const std::array<std::string, 7> titles = {"周一", "周二", "周三", "周四", "周五", "周六", "周日"};
    return titles;
}

TovikCalendarGrid TovikCalendarGrid::make(Instant month, Instant today)
{
    const TovikGregorianCalendar::YearMonthDay wanted = TovikGregorianCalendar::components(month);
    const Instant firstDay = TovikGregorianCalendar::date(wanted.year, wanted.month, 1).value_or(month);
    const int leading = (TovikGregorianCalendar::weekday(firstDay) - 2 + daysPerWeek) % daysPerWeek;
    const auto todayDay = TovikGregorianCalendar::components(today);

    TovikCalendarGrid grid;
    grid.weekdayTitles = standardWeekdayTitles();
    grid.cells.reserve(cellCount);
    const auto dates = cellDates(firstDay, leading);
    for (int i = 0; i < cellCount; ++i) {
        TovikCalendarCellData cell;
        cell.id = i;
        if (!dates[i]) {
            cell.date = firstDay;
            grid.cells.push_back(std::move(cell));
            continue;
        }
        cell.date = *dates[i];
        const auto ymd = TovikGregorianCalendar::components(cell.date);
        cell.day = ymd.day;
        cell.isCurrentMonth = ymd.year == wanted.year && ymd.month == wanted.month;
        if (cell.isCurrentMonth) {
            cell.isToday = ymd.year == todayDay.year && ymd.month == todayDay.month && ymd.day == todayDay.day;
            if (cell.isToday)
                grid.todayIndex = i;
            cell.holidayName = TovikChinaHolidayCalendar::holidayName(ymd);
            cell.lunarDay = TovikLunarDate::lunarDay(cell.date);
            cell.festivalName = TovikLunarFestivals::festivalName(cell.date);
            cell.solarTermName = TovikSolarTerms::termName(cell.date);
        }
        cell.isMakeupWorkday = TovikChinaHolidayCalendar::isMakeupWorkday(ymd);
        grid.cells.push_back(std::move(cell));
    }
    const auto titleDay = TovikGregorianCalendar::components(firstDay);
    grid.monthName = monthNameFormatter().format(titleDay);
    grid.yearText = yearFormatter().format(titleDay);
    if (grid.todayIndex)
        grid.todayWeekRow = *grid.todayIndex / daysPerWeek;
    return grid;
}
