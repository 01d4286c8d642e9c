#pragma once

#include <QRectF>
#include <QSizeF>

#include <functional>
#include <optional>

// Size ratios of a clock face, fixed at construction: `page` for the main window's time pages, `compact`
// for the clock mini window.
struct ClockFaceMetrics {
    double dateScale = 0;
    double dateMinimum = 0;
    double lunarScale = 0;
    double lunarMinimum = 0;
    double dateLineScale = 0;
    double clockLineScale = 0;
    double clockMinimumHeight = 0;
    double lunarLineScale = 0;
    double gapScale = 0;
    double gapMinimum = 0;

    static ClockFaceMetrics page();
    static ClockFaceMetrics compact();
};

// Where the clock face puts its three lines, in y-up coordinates (origin bottom-left) of its bounds.
// Either the date / time / lunar stack, or the time alone when the view is too small to hold the stack.
namespace ClockFaceLayout {

struct Frames {
    bool showsDateAndLunar = true;
    double dateFontSize = 0;
    double clockFontSize = 0;
    double lunarFontSize = 0;
    QRectF date;
    QRectF clock;
    QRectF lunar;
};

// The fitted "00:00:00" size for a box, between the given maximum and minimum (TimeFontFitting's contract).
using Fit = std::function<double(QSizeF size, double maximum, double minimum)>;

Frames stack(const QRectF &bounds, double clockFontSize, const ClockFaceMetrics &metrics);
Frames clockOnly(const QRectF &bounds, const Fit &fit);
// None for degenerate bounds (1 point or less either way): the previous layout stays.
std::optional<Frames> layout(const QRectF &bounds, std::optional<double> timeFontSize, const ClockFaceMetrics &metrics,
                             const Fit &fit);

} // namespace ClockFaceLayout
