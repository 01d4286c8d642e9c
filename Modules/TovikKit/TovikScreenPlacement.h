#pragma once

#include <QRectF>
#include <QSizeF>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

// Screens and window frames in the global y-up space (origin at the bottom-left corner of the primary
// screen), the space in which frames are stored; the conversion to Qt's y-down geometry happens only here.
namespace TovikScreenPlacement {

// One attached screen: its full frame, the part of it free of panels and docks, and its display number.
struct Screen {
    QRectF frame;
    QRectF visibleFrame;
    std::optional<std::uint32_t> displayNumber = {};

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

// How much of a window, in each axis, always stays on its screen.
constexpr double keepVisibleMargin = 24;

// `frame` moved, never resized, so that at least keepVisibleMargin points of it stay inside `screenFrame`
// horizontally and vertically; a frame already that far inside is returned unchanged.
QRectF keptVisible(const QRectF &frame, const QRectF &screenFrame);

// Whether a y-up point lies in `frame`, counting the left and top edges in and the right and bottom edges
// out, so that every pixel row of a screen belongs to exactly that screen.
bool containsPointer(const QRectF &frame, const QPointF &pointer);

// The first screen holding `pointer`, else the first (primary) screen; none without screens.
std::optional<Screen> screenForPointer(const QPointF &pointer, const std::vector<Screen> &screens);

// A number for a connected display that stays the same across restarts: the 32-bit FNV-1a hash of the
// UTF-8 texts of its name, manufacturer, model and serial number, each followed by a zero byte.
std::uint32_t displayNumber(QStringView name, QStringView manufacturer, QStringView model, QStringView serialNumber);

// A point of Qt's global space in the y-up space (a pixel's top-left corner), given the primary's Qt geometry.
QPointF pointToGlobalYUp(const QPointF &qtPoint, const QRectF &primaryQtGeometry);

// The attached screens in the platform's order, the primary screen first; empty without screens.
std::vector<Screen> screens();

// A top-level window's frame: the outer top-left corner with the content's size. Setting it before the
// window is first shown places the window's outer corner there, decorations included.
QRectF frame(const QWidget &window);
void setFrame(QWidget &window, const QRectF &frame);

// A point of Qt's global space (an event's global position) in the y-up space.
QPointF globalPointYUp(const QPointF &qtGlobalPoint);
// The mouse location in the y-up space.
QPointF pointerLocation();
// The screen under the mouse, else the primary screen; none without screens.
std::optional<Screen> screenForPointer();
// The screen owning a window's frame; none without screens.
std::optional<Screen> screenOf(const QWidget &window);
// Centres a window on the visible frame of `screen`, or of the screen under the mouse when none is given.
void centerWindow(QWidget &window, const std::optional<Screen> &screen = std::nullopt);
// Shows a window in front on the current desktop only (taken off the others), centred under the mouse if
// asked, and gives it focus.
void presentOnActiveDesktop(QWidget &window, bool shouldCenter);

} // namespace TovikScreenPlacement
