#include "DayvaneWidgetPlugin.h"

#include "DayvaneWidgetBundle.h"

#include <ClockCalendarWidgets/WidgetViewProperties.h>
#include <Platform/WidgetCenter/WidgetCenter.h>

#include <QtQml/QQmlExtensionPlugin>

// The views and the gallery card are static QML modules inside this plugin.
Q_IMPORT_QML_PLUGIN(ClockCalendarWidgetsPlugin)
Q_IMPORT_QML_PLUGIN(TovikWidgetKitPlugin)

std::vector<WidgetConfiguration> DayvaneWidgetPlugin::widgets() const
{
    return DayvaneWidgetBundle().body();
}

QVariantMap DayvaneWidgetPlugin::viewProperties(const WidgetEntry &entry) const
{
    return widgetViewProperties(entry);
}

void DayvaneWidgetPlugin::setReloadHandler(std::function<void(const std::string &kind)> handler)
{
    WidgetCenter::setInProcessHandler(std::move(handler));
}
