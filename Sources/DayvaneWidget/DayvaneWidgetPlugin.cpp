#include "DayvaneWidgetPlugin.h"

#include "DayvaneWidgetBundle.h"

#include <Platform/WidgetCenter/WidgetCenter.h>

std::vector<WidgetConfiguration> DayvaneWidgetPlugin::widgets() const
{
    return DayvaneWidgetBundle().body();
}

void DayvaneWidgetPlugin::setReloadHandler(std::function<void(const std::string &kind)> handler)
{
    WidgetCenter::setInProcessHandler(std::move(handler));
}
