#include "CalendarLayout.h"

#include <algorithm>
#include <cmath>

namespace CalendarLayout {

namespace {

constexpr double cellInset = 3;
constexpr double gridSideMargin = 10;
constexpr double buttonSize = 32;
constexpr double buttonInset = 6;
constexpr double twoMonthMinimumWidth = 640;
constexpr double monthGap = 40;

} // namespace

DayCellFrames dayCellFrames(QSizeF cell, double numberHeight, std::optional<double> captionHeight)
{
    const double width = std::max(cell.width() - 2 * cellInset, 1.0);
    const double midY = cell.height() / 2;
    const double h = std::ceil(numberHeight);
    if (!captionHeight) {
        return {QRectF(cellInset, std::floor(midY - h / 2), width, h), QRectF()};
    }
    const double c = std::max(std::ceil(*captionHeight), 9.0);
    const double block = h + 1 + c;
    const double top = std::floor(midY + block / 2);
    return {QRectF(cellInset, top - h, width, h), QRectF(cellInset, top - block, width, c)};
}

MonthViewFrames monthViewFrames(QSizeF view, int visibleRows, double titleHeight)
{
    const double w = view.width();
    const double h = view.height();
    const int rows = std::max(visibleRows, 1);
    MonthViewFrames frames;

    const double headerMidY = h - headerHeight / 2;
    frames.previousButton = QRectF(buttonInset, headerMidY - buttonSize / 2, buttonSize, buttonSize);
    frames.nextButton = QRectF(w - buttonSize - buttonInset, headerMidY - buttonSize / 2, buttonSize, buttonSize);
    const double titleH = std::max(std::ceil(titleHeight), 1.0);
    frames.title = QRectF(0, headerMidY - titleH / 2, w, titleH);

    const double gridW = std::max(w - 2 * gridSideMargin, 1.0);
    const double gridH = std::max(h - headerHeight - weekdayRowHeight - 1 - 14, 1.0);
    const double cw = gridW / daysPerWeek;
    const double ch = gridH / rows;

    const double weekdayY = h - headerHeight - weekdayRowHeight;
    frames.weekdayFontSize = std::clamp(ch * 0.24, 12.0, 16.0);
    for (int i = 0; i < daysPerWeek; ++i) {
        frames.weekdayTitles[i] = QRectF(gridSideMargin + i * cw, weekdayY, cw, weekdayRowHeight);
    }
    frames.weekdayDivider = QRectF(gridSideMargin, weekdayY - 3, gridW, 1);
    frames.dayFontSize = std::clamp(std::min(cw, ch) * 0.36, 15.0, 28.0);

    const double gridTop = weekdayY - 7;
    for (int i = 0; i < gridCellCount; ++i) {
        const int row = i / daysPerWeek;
        const int column = i % daysPerWeek;
        frames.cells[i] = QRectF(gridSideMargin + column * cw, gridTop - (row + 1) * ch, cw, ch);
    }
    return frames;
}

double workdayLabelFontSize(double dayFontSize)
{
    return std::clamp(dayFontSize * 0.52, 10.0, 13.0);
}

QRectF workdayLabelFrame(const QRectF &cell, QSizeF label, double viewHeight, double ceiling)
{
    const double w = std::ceil(label.width()) + 2;
    const double h = std::ceil(label.height());
    const double cellMaxY = cell.y() + cell.height();
    const double above = cellMaxY + 1;
    const double y = above + h <= ceiling ? above : cellMaxY - 1 - h;
    return QRectF(cell.x() + cell.width() - w - cellInset, std::min(viewHeight - h, y), w, h);
}

PageFrames pageFrames(QSizeF page, double topContentInset)
{
    const double top = topContentInset + 6;
    PageFrames frames;
    frames.contentArea = QRectF(4, 6, std::max(page.width() - 8, 1.0), std::max(page.height() - top - 6, 1.0));
    const QRectF &area = frames.contentArea;
    if (area.width() < twoMonthMinimumWidth) {
        frames.currentMonth = area;
        return frames;
    }
    frames.showsTwoMonths = true;
    const double mw = (area.width() - monthGap) * 0.5;
    frames.divider = QRectF(std::round(area.center().x()), area.y() + area.height() * 0.06, 1, area.height() * 0.88);
    frames.currentMonth = QRectF(area.x(), area.y(), mw, area.height());
    frames.nextMonth = QRectF(area.x() + mw + monthGap, area.y(), mw, area.height());
    return frames;
}

QRect wholePixels(const QRectF &rect)
{
    const int left = static_cast<int>(std::lround(rect.left()));
    const int top = static_cast<int>(std::lround(rect.top()));
    const int right = static_cast<int>(std::lround(rect.right()));
    const int bottom = static_cast<int>(std::lround(rect.bottom()));
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

} // namespace CalendarLayout
