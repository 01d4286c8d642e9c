#pragma once

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikWidgetKit/AppIntent.h>
#include <TovikWidgetKit/WidgetConfiguration.h>

#include <functional>
#include <memory>
#include <string>

// Assemble each widget from its provider and its view, in the small, medium and large families; the
// description is the widget's own, the rest comes from the bundle.
namespace ClockCalendarWidgets {

// `showsLunar` answers whether the application shows lunar captions; none means never.
WidgetConfiguration calendar(const std::string &kind, const std::string &displayName, const std::string &openURL,
                             std::function<bool()> showsLunar = {});
WidgetConfiguration clock(const std::string &kind, const std::string &displayName, const std::string &openURL,
                          std::shared_ptr<const AppIntent> openIntent);
WidgetConfiguration stopwatch(const std::string &kind, const std::string &displayName, const StopwatchStore &store,
                              const std::string &openURL, std::shared_ptr<const AppIntent> toggleIntent,
                              std::shared_ptr<const AppIntent> resetIntent);

} // namespace ClockCalendarWidgets
