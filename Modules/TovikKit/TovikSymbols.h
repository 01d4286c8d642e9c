#pragma once

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPixmap>
#include <QRectF>
#include <QString>
#include <QStringList>

// The in-house symbol set: every named symbol the application shows ("play.fill", "clock", "pip.enter", ...)
// drawn from vector paths, so icons are crisp at any device pixel ratio and look the same everywhere.
namespace TovikSymbols {

// Every name the set draws.
QStringList names();

// The symbol as one filled path fitted into `box` (y-down); heavier weights draw thicker strokes.
// Empty for an unknown name.
QPainterPath path(const QString &name, const QRectF &box, QFont::Weight weight = QFont::Medium);

// The symbol drawn in `color` on a transparent square of about 1.2 x pointSize logical pixels, rendered
// at the device pixel ratio. A null pixmap for an unknown name.
QPixmap pixmap(const QString &name, double pointSize, QFont::Weight weight, const QColor &color,
               qreal devicePixelRatio);

} // namespace TovikSymbols
