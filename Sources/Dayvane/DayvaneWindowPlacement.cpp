#include "DayvaneWindowPlacement.h"

#include <TovikKit/TovikGeometry.h>

#include <cmath>

namespace DayvaneWindowPlacement {

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

bool isUsable(const QRectF &frame, const std::vector<QRectF> &screens)
{
    const bool sane = std::isfinite(frame.x()) && std::isfinite(frame.y()) && frame.width() > 0 && frame.height() > 0
                      && frame.width() <= maximumSide && frame.height() <= maximumSide;
    if (!sane) {
        return false;
    }
    for (const QRectF &screen : screens) {
        if (screen.intersects(frame)) {
            return true;
        }
    }
    return false;
}

QRectF initialFrame(const std::optional<QRectF> &stored, const QRectF &created, const std::vector<QRectF> &screens,
                    const std::optional<QRectF> &primaryAvailable)
{
    if (stored && isUsable(*stored, screens)) {
        return *stored;
    }
    if (!primaryAvailable) {
        return created;
    }
    return QRectF(primaryAvailable->center().x() - created.width() / 2,
                  primaryAvailable->center().y() - created.height() / 2, created.width(), created.height());
}

} // namespace DayvaneWindowPlacement
