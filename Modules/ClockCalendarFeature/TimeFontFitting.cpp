#include "TimeFontFitting.h"

#include <TovikKit/TovikFonts.h>

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double step = 0.25;
const QString sample = QStringLiteral("00:00:00");

} // namespace

namespace TimeFontFitting {

double fittedSize(QSizeF size, const QString &text, double maximum, double minimum)
{
    return fittedSize(size, maximum, minimum, [&text](double points) {
        const QFont font = TovikFonts::systemFont(points, QFont::Medium, TovikFonts::Digits::monospaced);
        return QFontMetricsF(font).horizontalAdvance(text);
    });
}

QFont fontForText(const QFont &font, const QString &text, double width)
{
    if (text.size() <= sample.size()) {
        return font;
    }
    // Qt's point sizes are proportional to ours, so the search runs on them directly.
    QFont sized = font;
    const double points = TimeFontFitting::fittedSize(QSizeF(width, std::numeric_limits<double>::max()),
                                                      font.pointSizeF(), 0.25, [&sized, &text](double size) {
                                                          sized.setPointSizeF(size);
                                                          return QFontMetricsF(sized).horizontalAdvance(text);
                                                      });
    sized.setPointSizeF(points);
    return sized;
}

double fittedSize(QSizeF size, double maximum, double minimum, const WidthAtSize &widthAt)
{
    const double floor = std::max(minimum, 1.0);
    const double limit = std::min(std::max(size.height() * 0.78, 1.0), maximum);
    if (!(floor < limit)) {
        return floor;
    }
    const double widthLimit = std::max(size.width() * 0.94, 1.0);
    // Candidates are limit - step * k for k = 0, 1, ... while they stay above the floor.
    const double lastStep = std::ceil((limit - floor) / step) - 1;
    const auto candidate = [limit](double k) { return limit - step * k; };
    const auto fits = [&](double k) { return widthAt(candidate(k)) <= widthLimit; };

    const double widthAtLimit = widthAt(limit);
    if (widthAtLimit <= widthLimit) {
        return limit;
    }
    if (lastStep < 1) {
        return floor;
    }
    // The width is close to proportional to the size: start at the step the proportion points to.
    double k = 1;
    if (widthAtLimit > 0 && std::isfinite(widthAtLimit)) {
        const double estimate = limit * widthLimit / widthAtLimit;
        k = std::clamp(std::ceil((limit - estimate) / step), 1.0, lastStep);
    }
    if (fits(k)) {
        // Climb while the step above still fits; the limit itself is known not to.
        while (k > 1 && fits(k - 1)) {
            k -= 1;
        }
        return candidate(k);
    }
    while (k < lastStep) {
        k += 1;
        if (fits(k)) {
            return candidate(k);
        }
    }
    return floor;
}

} // namespace TimeFontFitting
