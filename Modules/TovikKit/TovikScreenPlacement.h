#pragma once

#include <QRectF>
#include <QSizeF>

#include <optional>
#include <vector>

class QWidget;

// Screens and window frames in the global y-up space (origin at the bottom-left corner of the primary
// screen), the space in which frames are stored; the conversion to Qt's y-down geometry happens only here.
namespace TovikScreenPlacement {

// One attached screen: its full frame and the part of it free of panels and docks.
struct Screen {
    QRectF frame;
    QRectF visibleFrame;

    bool operator==(const Screen &) const = default;
};

// Between Qt's global geometry and the y-up space, given the primary screen's Qt geometry.
QRectF toGlobalYUp(const QRectF &qtRect, const QRectF &primaryQtGeometry);
QRectF toQtGlobal(const QRectF &yUp, const QRectF &primaryQtGeometry);

// The first screen whose frame holds the centre of `frame`; else the one it overlaps most (the earlier on
// equal areas, the first one when it touches none); none for an empty list.
std::optional<Screen> owningScreen(const QRectF &frame, const std::vector<Screen> &screens);

// A window of `size` centred on `visibleFrame`, kept inside it; a side larger than the area starts at the
// area's left edge or bottom edge.
QRectF centeredFrame(const QSizeF &size, const QRectF &visibleFrame);

// `frame` made to fit `area`: each side shrunk to the area but never below `minimumSize`, then moved the
// least that puts it inside. A side still larger than the area keeps the area's left or top edge, so the
// window's title stays reachable.
QRectF fitted(const QRectF &frame, const QRectF &area, const QSizeF &minimumSize);

// The attached screens in the platform's order, the primary screen first; empty without screens.
std::vector<Screen> screens();

// A top-level window's frame: the outer top-left corner with the content's size. Setting it before the
// window is first shown places the window's outer corner there, decorations included.
QRectF frame(const QWidget &window);
void setFrame(QWidget &window, const QRectF &frame);

} // namespace TovikScreenPlacement
