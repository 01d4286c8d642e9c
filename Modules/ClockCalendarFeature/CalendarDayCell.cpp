#include "CalendarDayCell.h"

#include "CalendarColors.h"
#include "CalendarSelection.h"

#include <ClockCalendarShared/TovikCalendarPalette.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStaticText>

#include <algorithm>
#include <cmath>

namespace {

// Days of the neighbouring months, and the plain lunar days under the numbers.
constexpr double mutedAlpha = 0.28;

struct MeasuredFont {
    QFont font;
    double height = 0;
};

// Fonts and their metrics are asked for on every rebuild of 84 cells; build each size and weight once.
const MeasuredFont &numberFont(double points, QFont::Weight weight)
{
    static QHash<quint64, MeasuredFont> cache;
    const quint64 key = (static_cast<quint64>(std::llround(points * 64)) << 16) | static_cast<quint64>(weight);
    auto found = cache.find(key);
    if (found == cache.end()) {
        const QFont font = TovikFonts::systemFont(points, weight);
        found = cache.insert(key, MeasuredFont{font, QFontMetricsF(font).height()});
    }
    return found.value();
}

const MeasuredFont &captionFont()
{
    static const MeasuredFont measured = [] {
        const QFont font = TovikFonts::systemFont(8, QFont::Medium);
        return MeasuredFont{font, QFontMetricsF(font).height()};
    }();
    return measured;
}

QColor holidayRed()
{
    QColor red = TovikColors::systemRed();
    red.setAlphaF(0.92f);
    return red;
}

// A rectangle (Qt, y-down) with only the given y-up corners rounded.
QPainterPath selectionPath(const QRectF &rect, unsigned yUpMask, double radius)
{
    using namespace CalendarSelection;
    const double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    const double d = 2 * r;
    const bool topLeftRound = yUpMask & topLeft;
    const bool topRightRound = yUpMask & topRight;
    const bool bottomRightRound = yUpMask & bottomRight;
    const bool bottomLeftRound = yUpMask & bottomLeft;
    QPainterPath path;
    path.moveTo(rect.left() + (topLeftRound ? r : 0), rect.top());
    if (topRightRound) {
        path.lineTo(rect.right() - r, rect.top());
        path.arcTo(rect.right() - d, rect.top(), d, d, 90, -90);
    } else {
        path.lineTo(rect.right(), rect.top());
    }
    if (bottomRightRound) {
        path.lineTo(rect.right(), rect.bottom() - r);
        path.arcTo(rect.right() - d, rect.bottom() - d, d, d, 0, -90);
    } else {
        path.lineTo(rect.right(), rect.bottom());
    }
    if (bottomLeftRound) {
        path.lineTo(rect.left() + r, rect.bottom());
        path.arcTo(rect.left(), rect.bottom() - d, d, d, 270, -90);
    } else {
        path.lineTo(rect.left(), rect.bottom());
    }
    if (topLeftRound) {
        path.lineTo(rect.left(), rect.top() + r);
        path.arcTo(rect.left(), rect.top(), d, d, 180, -90);
    } else {
        path.lineTo(rect.left(), rect.top());
    }
    path.closeSubpath();
    return path;
}

} // namespace

CalendarDayCell::CalendarDayCell(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void CalendarDayCell::configure(const QString &text, bool isMuted, bool isToday, bool isSelected,
                                const std::optional<QString> &holidayName, bool isMakeupWorkday)
{
    m_isMuted = isMuted;
    m_isToday = isToday;
    m_isSelected = isSelected;
    m_isMakeupWorkday = isMakeupWorkday;
    m_maskedCorners = 0;
    m_text = text;
    if (isMakeupWorkday) {
        m_caption = QStringLiteral("上班");
        m_captionKind = TovikCalendarCaption::Kind::makeupWorkday;
    } else {
        m_caption = holidayName.value_or(QString());
        m_captionKind = holidayName ? TovikCalendarCaption::Kind::holiday : TovikCalendarCaption::Kind::none;
    }
    setFontSize(m_fontSize);
    update();
}

void CalendarDayCell::setCaption(const TovikCalendarCaption &caption)
{
    const QString text = QString::fromStdString(caption.text);
    if (text == m_caption && caption.kind == m_captionKind) {
        return;
    }
    m_caption = text;
    m_captionKind = caption.kind;
    update();
}

void CalendarDayCell::setFontSize(double points)
{
    const QFont::Weight weight = weightForState();
    if (points == m_fontSize && weight == m_weight) {
        return;
    }
    m_fontSize = points;
    m_weight = weight;
    update();
}

void CalendarDayCell::setSelection(bool isSelected, unsigned maskedCorners)
{
    const unsigned mask = isSelected ? maskedCorners : 0;
    if (isSelected == m_isSelected && mask == m_maskedCorners) {
        return;
    }
    m_isSelected = isSelected;
    m_maskedCorners = mask;
    update();
}

QFont::Weight CalendarDayCell::weightForState() const
{
    return (m_isToday || m_isSelected || !m_isMuted) ? QFont::Bold : QFont::Medium;
}

QColor CalendarDayCell::numberColor() const
{
    // Today and makeup workday are tested in opposite orders: a makeup workday that is today is green
    // until it is selected, then cherry.
    if (m_isSelected) {
        if (m_isToday) {
            return CalendarColors::todayCherry();
        }
        return m_isMakeupWorkday ? TovikColors::systemGreen() : QColor(Qt::white);
    }
    if (m_isMakeupWorkday) {
        return TovikColors::systemGreen();
    }
    if (m_isToday) {
        return CalendarColors::todayCherry();
    }
    if (m_isMuted) {
        return TovikColors::white(mutedAlpha);
    }
    return QColor(Qt::white);
}

QColor CalendarDayCell::captionColor() const
{
    using Kind = TovikCalendarCaption::Kind;
    switch (m_captionKind) {
    case Kind::makeupWorkday:
    case Kind::solarTerm:
        return CalendarColors::todayBlue();
    case Kind::lunarDay:
        return TovikColors::white(mutedAlpha);
    case Kind::none:
    case Kind::holiday:
    case Kind::festival:
        break;
    }
    return holidayRed();
}

CalendarLayout::DayCellFrames CalendarDayCell::labelFrames() const
{
    const std::optional<double> captionHeight =
        isCaptionVisible() ? std::optional<double>(captionFont().height) : std::nullopt;
    return CalendarLayout::dayCellFrames(size(), numberFont(m_fontSize, m_weight).height, captionHeight);
}

// Text laid out once and drawn many times: a drag repaints the same numbers over and over.
void CalendarDayCell::drawCentred(QPainter &painter, PreparedText &text, const QString &content, const QFont &font,
                                  double lineHeight, const QRectF &frame)
{
    if (text.text.text() != content || text.font != font) {
        text.text.setText(content);
        text.font = font;
        text.width = QFontMetricsF(font).horizontalAdvance(content);
    }
    painter.setFont(font);
    painter.drawStaticText(QPointF(frame.center().x() - text.width / 2, frame.center().y() - lineHeight / 2),
                           text.text);
}

void CalendarDayCell::setFocusRing(bool shows)
{
    if (shows != m_showsFocusRing) {
        m_showsFocusRing = shows;
        update();
    }
}

void CalendarDayCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_isSelected) {
        painter.fillPath(selectionPath(QRectF(rect()), m_maskedCorners, TovikCalendarPalette::selectionCornerRadius),
                         CalendarColors::selectionFill());
    }
    const CalendarLayout::DayCellFrames frames = labelFrames();
    const double h = height();
    if (!m_text.isEmpty()) {
        const MeasuredFont &font = numberFont(m_fontSize, m_weight);
        painter.setPen(numberColor());
        drawCentred(painter, m_numberText, m_text, font.font, font.height, TovikGeometry::toQt(frames.number, h));
    }
    if (isCaptionVisible()) {
        const MeasuredFont &font = captionFont();
        const QRectF captionRect = TovikGeometry::toQt(frames.caption, h);
        if (captionRect.width() != m_elidedCaptionWidth || m_elidedCaptionSource != m_caption) {
            m_elidedCaptionWidth = captionRect.width();
            m_elidedCaptionSource = m_caption;
            m_elidedCaption = QFontMetricsF(font.font).elidedText(m_caption, Qt::ElideRight, captionRect.width());
        }
        painter.setPen(captionColor());
        drawCentred(painter, m_captionText, m_elidedCaption, font.font, font.height, captionRect);
    }
    if (m_showsFocusRing) {
        painter.setPen(QPen(CalendarColors::todayBlue(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    }
}
