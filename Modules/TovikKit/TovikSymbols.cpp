#include "TovikSymbols.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <mutex>
#include <utility>

namespace {

// Symbols are designed in a unit square (y-down) and scaled to the caller's box afterwards. Their paths
// are built 64 times larger, since Qt flattens curves for the union of paths at a fixed absolute
// tolerance: in the unit square itself a circle would come out as an octagon, while a much larger scale
// makes the unions slow enough to delay start-up (the tab strip draws its icons before the window shows).
using Drawing = std::function<QPainterPath(double stroke)>;

constexpr double fineScale = 64;

QPainterPath fine(const QPainterPath &unitPath)
{
    return QTransform::fromScale(fineScale, fineScale).map(unitPath);
}

QRectF fine(const QRectF &unitRect)
{
    return QRectF(unitRect.topLeft() * fineScale, unitRect.size() * fineScale);
}

// `line` is already fine; `width` is in unit-square terms.
QPainterPath stroked(const QPainterPath &line, double width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width * fineScale);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return fine(path);
}

QPainterPath roundedRect(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(fine(rect), radius * fineScale, radius * fineScale);
    return path;
}

QPainterPath circle(QPointF centre, double radius)
{
    QPainterPath path;
    path.addEllipse(centre * fineScale, radius * fineScale, radius * fineScale);
    return path;
}

QPainterPath segment(QPointF from, QPointF to)
{
    QPainterPath path(from);
    path.lineTo(to);
    return fine(path);
}

// A filled triangle with softened corners.
QPainterPath softPolygon(std::initializer_list<QPointF> points, double roundness)
{
    const QPainterPath shape = polygon(points);
    return shape.united(stroked(shape, roundness));
}

QPainterPath playFill(double)
{
    return softPolygon({{0.24, 0.12}, {0.24, 0.88}, {0.88, 0.5}}, 0.08);
}

QPainterPath pauseFill(double)
{
    return roundedRect({0.18, 0.12, 0.23, 0.76}, 0.06).united(roundedRect({0.59, 0.12, 0.23, 0.76}, 0.06));
}

QPainterPath arrowCounterclockwise(double stroke)
{
    // An open ring running clockwise from its top, with the arrowhead at the top pointing left.
    const QRectF ring(0.12, 0.18, 0.76, 0.76);
    QPainterPath arc;
    arc.arcMoveTo(ring, 90);
    arc.arcTo(ring, 90, -295);
    const QPointF top(0.5, ring.top());
    const double half = 0.12 + stroke / 2;
    return stroked(fine(arc), stroke)
        .united(
            softPolygon({{top.x() - 0.2, top.y()}, {top.x() + 0.04, top.y() - half}, {top.x() + 0.04, top.y() + half}},
                        stroke / 3));
}

QPainterPath clock(double stroke)
{
    const QPointF centre(0.5, 0.5);
    QPainterPath hands(QPointF(0.5, 0.24));
    hands.lineTo(centre);
    hands.lineTo(QPointF(0.7, 0.5));
    return stroked(circle(centre, 0.42), stroke).united(stroked(fine(hands), stroke));
}

QPainterPath calendar(double stroke)
{
    const QRectF page(0.08, 0.14, 0.84, 0.76);
    QPainterPath header;
    header.addRect(QRectF(page.left(), page.top(), page.width(), 0.2));
    QPainterPath symbol =
        stroked(roundedRect(page, 0.12), stroke).united(roundedRect(page, 0.12).intersected(fine(header)));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            symbol = symbol.united(roundedRect({0.24 + column * 0.2, 0.46 + row * 0.2, 0.12, 0.1}, 0.025));
        }
    }
    return symbol;
}

QPainterPath stopwatch(double stroke)
{
    const QPointF centre(0.5, 0.57);
    QPainterPath symbol = stroked(circle(centre, 0.35), stroke);
    symbol = symbol.united(roundedRect({0.4, 0.04, 0.2, 0.08}, 0.03));
    symbol = symbol.united(stroked(segment({0.5, 0.1}, {0.5, 0.2}), stroke));
    symbol = symbol.united(stroked(segment({0.79, 0.24}, {0.85, 0.3}), stroke));
    return symbol.united(stroked(segment(centre, {0.5, 0.36}), stroke));
}

QPainterPath pipEnter(double stroke)
{
    const QRectF screen(0.06, 0.14, 0.88, 0.72);
    QPainterPath arrow(QPointF(0.2, 0.28));
    arrow.lineTo(QPointF(0.42, 0.5));
    QPainterPath head(QPointF(0.42, 0.34));
    head.lineTo(QPointF(0.42, 0.5));
    head.lineTo(QPointF(0.26, 0.5));
    return stroked(roundedRect(screen, 0.1), stroke)
        .united(roundedRect({0.54, 0.52, 0.28, 0.22}, 0.04))
        .united(stroked(fine(arrow), stroke))
        .united(stroked(fine(head), stroke));
}

QPainterPath xmark(double stroke)
{
    return stroked(segment({0.2, 0.2}, {0.8, 0.8}), stroke * 1.4)
        .united(stroked(segment({0.8, 0.2}, {0.2, 0.8}), stroke * 1.4));
}

// A push pin leaning right: cap, body and base, the needle pointing down-left.
QPainterPath pinOutline(double stroke, bool filled)
{
    const QPainterPath body = roundedRect({0.34, 0.08, 0.32, 0.1}, 0.03)
                                  .united(polygon({{0.41, 0.17}, {0.59, 0.17}, {0.63, 0.5}, {0.37, 0.5}}))
                                  .united(roundedRect({0.24, 0.5, 0.52, 0.08}, 0.03));
    const QPainterPath shape = (filled ? body.united(stroked(body, stroke)) : stroked(body, stroke))
                                   .united(stroked(segment({0.5, 0.58}, {0.5, 0.92}), stroke));
    QTransform lean;
    lean.translate(fineScale / 2, fineScale / 2);
    lean.rotate(40);
    lean.translate(-fineScale / 2, -fineScale / 2);
    return lean.map(shape);
}

QPainterPath pin(double stroke)
{
    return pinOutline(stroke, false);
}

QPainterPath pinFill(double stroke)
{
    return pinOutline(stroke, true);
}

QPainterPath circleLefthalfFilled(double stroke)
{
    const QPointF centre(0.5, 0.5);
    QPainterPath left;
    left.addRect(QRectF(0, 0, 0.5, 1));
    return stroked(circle(centre, 0.4), stroke).united(circle(centre, 0.4).intersected(fine(left)));
}

// A diagonal with an arrowhead at each end: from `from` towards `to`, heads at both.
QPainterPath diagonalArrows(double stroke, QPointF from, QPointF to)
{
    const double head = 0.22;
    const double dx = to.x() > from.x() ? head : -head;
    const double dy = to.y() > from.y() ? head : -head;
    QPainterPath heads(QPointF(from.x() + dx, from.y()));
    heads.lineTo(from);
    heads.lineTo(QPointF(from.x(), from.y() + dy));
    heads.moveTo(QPointF(to.x() - dx, to.y()));
    heads.lineTo(to);
    heads.lineTo(QPointF(to.x(), to.y() - dy));
    return stroked(segment(from, to), stroke).united(stroked(fine(heads), stroke));
}

QPainterPath arrowUpLeftAndArrowDownRight(double stroke)
{
    return diagonalArrows(stroke, {0.14, 0.14}, {0.86, 0.86});
}

QPainterPath arrowDownRightAndArrowUpLeft(double stroke)
{
    // Two short arrows meeting at the centre: one from the top-left, one from the bottom-right.
    QPainterPath heads(QPointF(0.2, 0.44));
    heads.lineTo(QPointF(0.44, 0.44));
    heads.lineTo(QPointF(0.44, 0.2));
    heads.moveTo(QPointF(0.8, 0.56));
    heads.lineTo(QPointF(0.56, 0.56));
    heads.lineTo(QPointF(0.56, 0.8));
    return stroked(segment({0.14, 0.14}, {0.44, 0.44}), stroke)
        .united(stroked(segment({0.86, 0.86}, {0.56, 0.56}), stroke))
        .united(stroked(fine(heads), stroke));
}

const std::map<QString, Drawing> &drawings()
{
    static const std::map<QString, Drawing> table = {
        {QStringLiteral("play.fill"), playFill},
        {QStringLiteral("pause.fill"), pauseFill},
        {QStringLiteral("arrow.counterclockwise"), arrowCounterclockwise},
        {QStringLiteral("clock"), clock},
        {QStringLiteral("calendar"), calendar},
        {QStringLiteral("stopwatch"), stopwatch},
        {QStringLiteral("pip.enter"), pipEnter},
        {QStringLiteral("xmark"), xmark},
        {QStringLiteral("pin"), pin},
        {QStringLiteral("pin.fill"), pinFill},
        {QStringLiteral("circle.lefthalf.filled"), circleLefthalfFilled},
        {QStringLiteral("arrow.up.left.and.arrow.down.right"), arrowUpLeftAndArrowDownRight},
        {QStringLiteral("arrow.down.right.and.arrow.up.left"), arrowDownRightAndArrowUpLeft},
    };
    return table;
}

// Stroke width as a fraction of the box: regular weight draws about a thirteenth, bold a tenth.
double strokeFor(QFont::Weight weight)
{
    return std::clamp(0.075 + (static_cast<double>(weight) - 400.0) * 0.0001, 0.045, 0.12);
}

// An outline is costly to build and every image of one symbol shares it: it is built once per name and
// weight, and only scaled into each box. Images may be drawn off the main thread for QML.
QPainterPath drawing(const Drawing &draw, const QString &name, QFont::Weight weight)
{
    static std::mutex guard;
    static std::map<std::pair<QString, int>, QPainterPath> cache;
    const std::lock_guard lock(guard);
    const auto key = std::make_pair(name, static_cast<int>(weight));
    auto found = cache.find(key);
    if (found == cache.end()) {
        QPainterPath built = draw(strokeFor(weight));
        built.setFillRule(Qt::WindingFill);
        found = cache.emplace(key, built).first;
    }
    return found->second;
}

} // namespace

namespace TovikSymbols {

QStringList names()
{
    QStringList list;
    for (const auto &entry : drawings()) {
        list.append(entry.first);
    }
    return list;
}

QPainterPath path(const QString &name, const QRectF &box, QFont::Weight weight)
{
    const auto found = drawings().find(name);
    if (found == drawings().end() || box.isEmpty()) {
        return {};
    }
    const double stroke = strokeFor(weight);
    // Keep the outermost stroke inside the box: the unit drawing reaches half a stroke past its lines.
    const double margin = stroke / 2;
    const double side = std::min(box.width(), box.height());
    const double scale = side / (1 + 2 * margin) / fineScale;
    QTransform transform;
    const double inset = margin * scale * fineScale;
    transform.translate(box.center().x() - side / 2 + inset, box.center().y() - side / 2 + inset);
    transform.scale(scale, scale);
    return transform.map(drawing(found->second, name, weight));
}

QPixmap pixmap(const QString &name, double pointSize, QFont::Weight weight, const QColor &color, qreal devicePixelRatio)
{
    if (drawings().find(name) == drawings().end() || pointSize <= 0 || devicePixelRatio <= 0) {
        return {};
    }
    const int side = static_cast<int>(std::ceil(pointSize * 1.2));
    const int pixels = static_cast<int>(std::ceil(side * devicePixelRatio));
    QPixmap image(pixels, pixels);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    // One device pixel of margin keeps antialiased edges from being cut at the image's border.
    const double logical = pixels / devicePixelRatio;
    const double margin = 1 / devicePixelRatio;
    painter.drawPath(path(name, QRectF(margin, margin, logical - 2 * margin, logical - 2 * margin), weight));
    return image;
}

} // namespace TovikSymbols
