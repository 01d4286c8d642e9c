#pragma once

#include <QRect>
#include <QRectF>
#include <QSizeF>

#include <array>
#include <optional>

// The geometry of the calendar page, computed y-up (origin bottom-left) from the sizes alone, so each rule
// can be checked against its numbers without widgets. Views convert the results once with TovikGeometry.
namespace CalendarLayout {

inline constexpr double headerHeight = 34;
inline constexpr double titleFontSize = 14;
inline constexpr double weekdayRowHeight = 26;
inline constexpr int gridCellCount = 42;
inline constexpr int daysPerWeek = 7;

// Where the number and the caption of one day cell go; the caption frame is empty when it is hidden.
struct DayCellFrames {
    QRectF number;
    QRectF caption;
};

// numberHeight and captionHeight are the texts' natural heights; no caption height means no caption.
DayCellFrames dayCellFrames(QSizeF cell, double numberHeight, std::optional<double> captionHeight);

// Everything one month view places, for a view of the given size showing `visibleRows` week rows.
struct MonthViewFrames {
    QRectF previousButton;
    QRectF nextButton;
    QRectF title;
    std::array<QRectF, daysPerWeek> weekdayTitles;
    QRectF weekdayDivider;
    std::array<QRectF, gridCellCount> cells;
    double weekdayFontSize = 12;
    double dayFontSize = 15;
};

// titleHeight is the natural height of the title text in the title font.
MonthViewFrames monthViewFrames(QSizeF view, int visibleRows, double titleHeight);

double workdayLabelFontSize(double dayFontSize);

// Just above the cell, its right edge 3 points inside the cell's, never above the view's top edge. Where
// that would reach `ceiling` (the bottom of the weekday titles and their divider, over a first-row cell),
// it sits just inside the top of the cell instead. `label` is the label's natural text size.
QRectF workdayLabelFrame(const QRectF &cell, QSizeF label, double viewHeight, double ceiling);

// The page: one month when the content area is narrower than 640 points, two months side by side otherwise.
struct PageFrames {
    QRectF contentArea;
    bool showsTwoMonths = false;
    QRectF currentMonth;
    QRectF nextMonth; // empty when one month is shown
    QRectF divider;   // empty when one month is shown
};

PageFrames pageFrames(QSizeF page, double topContentInset);

// Widgets sit on whole pixels: both edges are rounded, so neighbouring frames tile without gaps or overlaps.
QRect wholePixels(const QRectF &rect);

} // namespace CalendarLayout
