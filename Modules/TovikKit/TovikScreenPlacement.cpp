#include "TovikScreenPlacement.h"

#include "TovikEwmh.h"
#include "TovikGeometry.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

QRectF primaryQtGeometry()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? QRectF(primary->geometry()) : QRectF();
}

// The origin along one axis that puts [origin, origin + length] inside [low, high] with the least move;
// `whenLarger` when the length exceeds the range.
double keptInside(double origin, double length, double low, double high, double whenLarger)
{
    if (length > high - low) {
        return whenLarger;
    }
    return std::clamp(origin, low, high - length);
}

} // namespace

namespace TovikScreenPlacement {

QRectF toGlobalYUp(const QRectF &qtRect, const QRectF &primaryQtGeometry)
{
    const QRectF relative = qtRect.translated(-primaryQtGeometry.x(), -primaryQtGeometry.y());
    return TovikGeometry::fromQt(relative, primaryQtGeometry.height());
}

QRectF toQtGlobal(const QRectF &yUp, const QRectF &primaryQtGeometry)
{
    return TovikGeometry::toQt(yUp, primaryQtGeometry.height())
        .translated(primaryQtGeometry.x(), primaryQtGeometry.y());
}

QRectF keptVisible(const QRectF &frame, const QRectF &screenFrame)
{
    // y-up: QRectF's top() is the bottom edge and bottom() the top edge.
    const double m = keepVisibleMargin;
    double x = frame.x();
    if (frame.right() < screenFrame.left() + m) {
        x = screenFrame.left() + m - frame.width();
    } else if (frame.left() > screenFrame.right() - m) {
        x = screenFrame.right() - m;
    }
    double y = frame.y();
    if (frame.bottom() < screenFrame.top() + m) {
        y = screenFrame.top() + m - frame.height();
    } else if (frame.top() > screenFrame.bottom() - m) {
        y = screenFrame.bottom() - m;
    }
    return QRectF(x, y, frame.width(), frame.height());
}

bool containsPointer(const QRectF &frame, const QPointF &pointer)
{
    return pointer.x() >= frame.left() && pointer.x() < frame.right() && pointer.y() > frame.top()
           && pointer.y() <= frame.bottom();
}

std::optional<Screen> screenForPointer(const QPointF &pointer, const std::vector<Screen> &screens)
{
    for (const Screen &screen : screens) {
        if (containsPointer(screen.frame, pointer)) {
            return screen;
        }
    }
    if (screens.empty()) {
        return std::nullopt;
    }
    return screens.front();
}

std::uint32_t displayNumber(QStringView name, QStringView manufacturer, QStringView model, QStringView serialNumber)
{
    std::uint32_t hash = 0x811c9dc5u;
    const auto add = [&hash](QStringView field) {
        QByteArray bytes = field.toUtf8();
        bytes.append('\0');
        for (const char byte : bytes) {
            hash ^= static_cast<unsigned char>(byte);
            hash *= 0x01000193u;
        }
    };
    add(name);
    add(manufacturer);
    add(model);
    add(serialNumber);
    return hash;
}

QPointF pointToGlobalYUp(const QPointF &qtPoint, const QRectF &primaryQtGeometry)
{
    return QPointF(qtPoint.x() - primaryQtGeometry.x(),
                   primaryQtGeometry.height() - (qtPoint.y() - primaryQtGeometry.y()));
}

std::optional<Screen> owningScreen(const QRectF &frame, const std::vector<Screen> &screens)
{
    if (screens.empty()) {
        return std::nullopt;
    }
    const QPointF centre = frame.center();
    for (const Screen &screen : screens) {
        if (screen.frame.contains(centre)) {
            return screen;
        }
    }
    const Screen *best = &screens.front();
    double bestArea = 0;
    for (const Screen &screen : screens) {
        const QRectF overlap = screen.frame.intersected(frame);
        const double area = overlap.width() * overlap.height();
        if (area > bestArea) {
            best = &screen;
            bestArea = area;
        }
    }
    return *best;
}

QRectF centeredFrame(const QSizeF &size, const QRectF &visibleFrame)
{
    const QPointF centre = visibleFrame.center();
    const double x = keptInside(centre.x() - size.width() / 2, size.width(), visibleFrame.left(), visibleFrame.right(),
                                visibleFrame.left());
    const double y = keptInside(centre.y() - size.height() / 2, size.height(), visibleFrame.top(),
                                visibleFrame.bottom(), visibleFrame.top());
    return QRectF(QPointF(x, y), size);
}

QRectF fitted(const QRectF &frame, const QRectF &area, const QSizeF &minimumSize)
{
    // y-up: QRectF's top() is the bottom edge and bottom() the top edge.
    const double width = std::max(std::min(frame.width(), area.width()), minimumSize.width());
    const double height = std::max(std::min(frame.height(), area.height()), minimumSize.height());
    const double x = keptInside(frame.x(), width, area.left(), area.right(), area.left());
    const double y = keptInside(frame.y(), height, area.top(), area.bottom(), area.bottom() - height);
    return QRectF(x, y, width, height);
}

std::vector<Screen> screens()
{
    const QRectF primary = primaryQtGeometry();
    std::vector<Screen> list;
    for (const QScreen *screen : QGuiApplication::screens()) {
        list.push_back(
            {toGlobalYUp(QRectF(screen->geometry()), primary),
             toGlobalYUp(QRectF(screen->availableGeometry()), primary),
             displayNumber(screen->name(), screen->manufacturer(), screen->model(), screen->serialNumber())});
    }
    return list;
}

QRectF frame(const QWidget &window)
{
    return toGlobalYUp(QRectF(QPointF(window.frameGeometry().topLeft()), QSizeF(window.size())), primaryQtGeometry());
}

void setFrame(QWidget &window, const QRectF &frame)
{
    const QRectF qt = toQtGlobal(frame, primaryQtGeometry());
    window.resize(qRound(qt.width()), qRound(qt.height()));
    // Before the window exists, a move places its outer corner, so a title bar is never pushed off the top.
    window.move(qRound(qt.x()), qRound(qt.y()));
}

QPointF globalPointYUp(const QPointF &qtGlobalPoint)
{
    return pointToGlobalYUp(qtGlobalPoint, primaryQtGeometry());
}

QPointF pointerLocation()
{
    return globalPointYUp(QPointF(QCursor::pos()));
}

std::optional<Screen> screenForPointer()
{
    return screenForPointer(pointerLocation(), screens());
}

std::optional<Screen> screenOf(const QWidget &window)
{
    return owningScreen(frame(window), screens());
}

void centerWindow(QWidget &window, const std::optional<Screen> &screen)
{
    const std::optional<Screen> target = screen ? screen : screenForPointer();
    if (!target) {
        return;
    }
    setFrame(window, centeredFrame(window.size(), target->visibleFrame));
}

void presentOnActiveDesktop(QWidget &window, bool shouldCenter)
{
    if (shouldCenter) {
        centerWindow(window);
    }
    window.show();
    TovikEwmh::moveToCurrentDesktop(window);
    window.raise();
    window.activateWindow();
}

} // namespace TovikScreenPlacement
