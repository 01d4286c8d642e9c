#include "DayvaneSharedCalendar.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

namespace DayvaneSharedCalendar {

std::shared_ptr<TovikSettingsStore> suite()
{
    static const std::shared_ptr<TovikSettingsStore> shared =
        TovikSettingsStore::suite("K9PZQW41RT.local.tovik.dayvane");
    return shared;
}

bool showsLunar(const std::shared_ptr<TovikSettingsStore> &suite)
{
    return suite && suite->boolean(showsLunarKey).value_or(false);
}

void mirrorShowsLunar(const std::shared_ptr<TovikSettingsStore> &suite, bool shows)
{
    if (!suite || suite->boolean(showsLunarKey) == shows) {
        return;
    }
    if (suite->set(showsLunarKey, shows)) {
        WidgetCenter::reloadTimelines("DayvaneCalendarWidget");
    }
}

} // namespace DayvaneSharedCalendar
