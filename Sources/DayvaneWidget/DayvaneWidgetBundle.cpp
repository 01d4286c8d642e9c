#include "DayvaneWidgetBundle.h"

#include "DayvaneWidgets.h"

DayvaneWidgetBundle::DayvaneWidgetBundle(const StopwatchStore &store)
    : m_store(store)
{
}

std::vector<WidgetConfiguration> DayvaneWidgetBundle::body() const
{
    std::vector<WidgetConfiguration> widgets;
    widgets.push_back(DayvaneCalendarWidget::body());
    widgets.push_back(DayvaneClockWidget::body());
    widgets.push_back(DayvaneStopwatchWidget::body(m_store));
    return widgets;
}
