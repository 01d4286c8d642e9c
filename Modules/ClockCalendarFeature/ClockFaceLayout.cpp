#include "ClockFaceLayout.h"

#include <algorithm>
#include <cmath>

ClockFaceMetrics ClockFaceMetrics::page()
{
    return {0.5, 11, 0.42, 10, 1.2, 1.15, 28, 1.25, 0.12, 4};
}

ClockFaceMetrics ClockFaceMetrics::compact()
{
    return {0.38, 9, 0.26, 8, 1.08, 1.08, 0, 1.12, 0.04, 1};
}

namespace ClockFaceLayout {

namespace {

double lineHeightTotal(double s, const ClockFaceMetrics &m)
{
    const double date = std::ceil(std::max(m.dateMinimum, m.dateScale * s) * m.dateLineScale);
    const double clock = std::max(m.clockMinimumHeight, std::ceil(m.clockLineScale * s));
    const double lunar = std::ceil(std::max(m.lunarMinimum, m.lunarScale * s) * m.lunarLineScale);
    return date + clock + lunar + 2 * std::max(m.gapMinimum, s * m.gapScale);
}

} // namespace

Frames stack(const QRectF &b, double s, const ClockFaceMetrics &m)
{
    Frames frames;
    frames.showsDateAndLunar = true;
    frames.clockFontSize = s;
    frames.dateFontSize = std::max(m.dateMinimum, m.dateScale * s);
    frames.lunarFontSize = std::max(m.lunarMinimum, m.lunarScale * s);

    const double dateHeight = std::ceil(frames.dateFontSize * m.dateLineScale);
    const double clockHeight = std::max(m.clockMinimumHeight, std::ceil(m.clockLineScale * s));
    const double lunarHeight = std::ceil(frames.lunarFontSize * m.lunarLineScale);
    const double gap = std::max(m.gapMinimum, s * m.gapScale);
    const double total = dateHeight + clockHeight + lunarHeight + 2 * gap;
    const double top = b.center().y() + total / 2;

    frames.date = QRectF(b.left(), top - dateHeight, b.width(), dateHeight);
    frames.clock = QRectF(b.left(), frames.date.y() - gap - clockHeight, b.width(), clockHeight);
    frames.lunar = QRectF(b.left(), frames.clock.y() - gap - lunarHeight, b.width(), lunarHeight);
    return frames;
}

Frames clockOnly(const QRectF &b, const Fit &fit)
{
    Frames frames;
    frames.showsDateAndLunar = false;
    frames.clockFontSize = fit(b.size(), std::max(std::min(b.width() / 4.6, b.height() * 0.78), 6.0), 5);
    const double height = std::min(std::max(std::ceil(frames.clockFontSize * 1.16), 8.0), b.height());
    frames.clock = QRectF(b.left(), b.center().y() - height / 2, b.width(), height);
    return frames;
}

std::optional<Frames> layout(const QRectF &b, std::optional<double> timeFontSize, const ClockFaceMetrics &metrics,
                             const Fit &fit)
{
    if (b.width() <= 1 || b.height() <= 1) {
        return std::nullopt;
    }
    if (timeFontSize) {
        return stack(b, *timeFontSize, metrics);
    }
    if (b.width() < 190 || b.height() < 100) {
        return clockOnly(b, fit);
    }
    const double maximum = std::max(std::min(b.height() * 0.56, b.width() / 4.6), 14.0);
    // The fit bounds the time line alone. A face that fits itself also keeps the date and lunar lines inside
    // its bounds, stepping the size down as the fit does: the compact lines of a mini clock would otherwise
    // overhang the panel's edge, where the lunar line is cut off.
    double s = fit(b.size(), maximum, 12);
    while (s > 12 && lineHeightTotal(s, metrics) > b.height()) {
        s = std::max(12.0, s - 0.25);
    }
    return stack(b, s, metrics);
}

} // namespace ClockFaceLayout
