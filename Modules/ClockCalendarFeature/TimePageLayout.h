#pragma once

#include <QRectF>
#include <QSizeF>

#include <functional>
#include <optional>

// The time page's geometry in y-up coordinates: one time font size for the whole page, so the clock and the
// stopwatch digits match, the clock face filling the inset page and the stopwatch block centred in it.
namespace TimePageLayout {

struct Frames {
    QRectF content; // the page inset by 14 points left and right, 8 top and bottom
    double timeFontSize = 0;
    QRectF stopwatch;
};

// The fitted "00:00:00" size for a box, between the given maximum and minimum (TimeFontFitting's contract).
using Fit = std::function<double(QSizeF size, double maximum, double minimum)>;

QRectF contentRect(QSizeF page);
QRectF stopwatchFrame(const QRectF &content, double timeFontSize, double controlsHeight);
// None when the inset page is 1 point or less either way: the previous layout stays.
std::optional<Frames> layout(QSizeF page, double controlsHeight, const Fit &fit);

} // namespace TimePageLayout
