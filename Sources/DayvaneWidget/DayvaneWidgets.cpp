#include "DayvaneWidgets.h"

#include "ResetDayvaneStopwatchIntent.h"
#include "ToggleDayvaneStopwatchIntent.h"

#include <ClockCalendarWidgets/ClockCalendarWidgets.h>
#include <DayvaneCore/DayvaneDeepLink.h>
#include <DayvaneCore/DayvaneSharedCalendar.h>

#include <memory>
#include <string>

namespace {

std::string urlOf(DayvaneDeepLink link)
{
    return "dayvane://" + std::string(DayvaneDeepLinks::rawValue(link));
}

} // namespace

WidgetConfiguration DayvaneCalendarWidget::body()
{
    // The application mirrors its lunar switch into the shared suite, which is all the extension opens.
    return ClockCalendarWidgets::calendar(kind, "Lumadi 日历", urlOf(DayvaneDeepLink::calendar), [] {
        return DayvaneSharedCalendar::showsLunar(DayvaneSharedCalendar::suite());
    });
}

WidgetConfiguration DayvaneClockWidget::body()
{
    return ClockCalendarWidgets::clock(kind, "Lumadi 时钟", urlOf(DayvaneDeepLink::clock), nullptr);
}

WidgetConfiguration DayvaneStopwatchWidget::body(const StopwatchStore &store)
{
    return ClockCalendarWidgets::stopwatch(kind, "Lumadi 计时器", store, urlOf(DayvaneDeepLink::stopwatch),
                                           std::make_shared<ToggleDayvaneStopwatchIntent>(store),
                                           std::make_shared<ResetDayvaneStopwatchIntent>(store));
}
