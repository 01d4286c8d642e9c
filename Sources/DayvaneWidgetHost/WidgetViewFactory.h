#pragma once

#include <ClockCalendarShared/Instant.h>
#include <TovikWidgetKit/WidgetExtension.h>

#include <QString>

class QQmlEngine;
class QQuickItem;

// The system's content margin on every side of a widget: a small widget leaves 155 x 155 points to its
// view, as the views' layouts expect.
inline constexpr double widgetContentMargin = 7.5;
// The rounding of a widget's corners on the desktop.
inline constexpr double widgetCornerRadius = 20;

// Builds the view that draws one entry of a widget in a family: the plugin's view type given the entry's
// properties and what the host owns (family, content margin, URL, the current second).
namespace WidgetViewFactory {

// Makes `engine` ready for the views: where the plugin's QML modules are, and the symbol images.
void prepare(QQmlEngine &engine);

// A view item sized to the family, or null with the QML errors in `error`. The caller owns the item.
QQuickItem *create(QQmlEngine &engine, const WidgetExtension &extension, const WidgetConfiguration &widget,
                   const WidgetEntry &entry, WidgetFamily family, Instant now, QString *error);

} // namespace WidgetViewFactory
