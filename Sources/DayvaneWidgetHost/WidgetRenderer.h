#pragma once

#include <TovikWidgetKit/WidgetExtension.h>

#include <QImage>
#include <QString>

class QQmlEngine;

// Draws one widget entry as it appears on the desktop, container background and rounded corners
// included, at the family's size times the device pixel ratio; used by `--render`.
namespace WidgetRenderer {

// The picture, or a null image with the reason in `error`.
QImage render(QQmlEngine &engine, const WidgetExtension &extension, const WidgetConfiguration &widget,
              const WidgetEntry &entry, WidgetFamily family, Instant now, QString *error);

} // namespace WidgetRenderer
