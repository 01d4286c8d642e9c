#include "TimePageLayout.h"

#include <algorithm>
#include <cmath>

namespace TimePageLayout {

QRectF contentRect(QSizeF page)
{
    return QRectF(14, 8, page.width() - 28, page.height() - 16);
}

QRectF stopwatchFrame(const QRectF &r, double s, double controlsHeight)
{
    const double height = std::max(std::ceil(1.15 * s), 28.0) + controlsHeight;
    const double width = std::min(std::max(5.4 * s, 120.0), r.width());
    return QRectF(r.center().x() - width / 2, r.center().y() - height / 2, width, height);
}

std::optional<Frames> layout(QSizeF page, double controlsHeight, const Fit &fit)
{
    const QRectF r = contentRect(page);
    if (r.width() <= 1 || r.height() <= 1) {
        return std::nullopt;
    }
    Frames frames;
    frames.content = r;
    frames.timeFontSize = fit(QSizeF(r.width(), r.height() / 2.6), 110, 18);
    frames.stopwatch = stopwatchFrame(r, frames.timeFontSize, controlsHeight);
    return frames;
}

} // namespace TimePageLayout
