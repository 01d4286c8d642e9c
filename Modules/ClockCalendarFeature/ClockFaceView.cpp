#include "ClockFaceView.h"

#include "TimeFontFitting.h"

#include <ClockCalendarShared/TovikGregorianCalendar.h>
#include <ClockCalendarShared/TovikLunarDate.h>
#include <Platform/Ui/TovikClock.h>
#include <Platform/Ui/TovikTickSchedule.h>
#include <Platform/Ui/TovikViewTicker.h>
#include <TovikKit/TovikAccessibleParts.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace {

const QString timeSample = QStringLiteral("00:00:00");

double fitTime(QSizeF size, double maximum, double minimum)
{
    return TimeFontFitting::fittedSize(size, timeSample, maximum, minimum);
}

// In the zone the calendars use, so that the time, the date lines and the calendar page always agree.
QString clockText(Instant now)
{
    if (!std::isfinite(now)) {
        return {};
    }
    const TovikGregorianCalendar::TimeOfDay time = TovikGregorianCalendar::timeOfDay(now);
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute, 2, 10, QLatin1Char('0'))
        .arg(time.second, 2, 10, QLatin1Char('0'));
}

} // namespace

ClockFaceView::ClockFaceView(const TovikClock &clock, const Metrics &metrics, QWidget *parent)
    : QWidget(parent)
    , m_timeSource(clock)
    , m_metrics(metrics)
{
    new TovikViewTicker(this, clock, [this] {
        const Instant now = m_timeSource.now();
        refresh(now);
        return TovikTickSchedule::msUntilNextWholeSecond(now);
    });
    refresh();
}

void ClockFaceView::setTimeFontSize(std::optional<double> size)
{
    if (size == m_timeFontSize) {
        return;
    }
    m_timeFontSize = size;
    layoutLines();
}

void ClockFaceView::refresh()
{
    refresh(m_timeSource.now());
}

void ClockFaceView::refresh(Instant now)
{
    TovikGregorianCalendar::followHostZone();
    const QString date = QString::fromStdString(TovikLunarDate::dateText(now));
    const QString time = clockText(now);
    const QString lunar = QString::fromStdString(TovikLunarDate::clockSubtitle(now));
    if (date != m_dateText) {
        m_dateText = date;
        updateLine(m_date, date, true);
        TovikAccessibleParts::notifyNameChanged(this, 0);
    }
    if (time != m_timeText) {
        m_timeText = time;
        updateClockLine(time);
        TovikAccessibleParts::notifyNameChanged(this, 1);
    }
    if (lunar != m_lunarText) {
        m_lunarText = lunar;
        updateLine(m_lunar, lunar, true);
        TovikAccessibleParts::notifyNameChanged(this, 2);
    }
}

void ClockFaceView::updateLine(Line &line, const QString &text, bool elides)
{
    // Before the first layout there is no width to fit, and measuring would load a font that is never drawn.
    if (line.frame.isEmpty()) {
        line.shown = text;
        return;
    }
    line.shown = elides ? QFontMetricsF(line.font).elidedText(text, Qt::ElideRight, line.frame.width()) : text;
    update(line.frame.toAlignedRect());
}

// A tick usually changes one or two digits: only they are repainted.
void ClockFaceView::updateClockLine(const QString &text)
{
    const QRectF changed = m_clockGlyphs.changedArea(m_clock.frame, m_clock.shown, text);
    m_clock.shown = text;
    update(changed.toAlignedRect());
}

void ClockFaceView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutLines();
}

void ClockFaceView::layoutLines()
{
    const QRectF bounds(QPointF(0, 0), QSizeF(size()));
    const auto frames = ClockFaceLayout::layout(bounds, m_timeFontSize, m_metrics, fitTime);
    if (!frames) {
        return;
    }
    m_frames = *frames;
    using TovikFonts::Digits;
    m_date = {TovikGeometry::toQt(frames->date, bounds.height()),
              TovikFonts::systemFont(frames->dateFontSize, QFont::Medium, Digits::monospaced),
              {}};
    m_clock = {TovikGeometry::toQt(frames->clock, bounds.height()),
               TovikFonts::systemFont(frames->clockFontSize, QFont::Medium, Digits::monospaced),
               {}};
    m_lunar = {TovikGeometry::toQt(frames->lunar, bounds.height()),
               TovikFonts::systemFont(frames->lunarFontSize, QFont::Medium, Digits::proportional),
               {}};
    updateLine(m_date, m_dateText, true);
    updateLine(m_clock, m_timeText, false);
    updateLine(m_lunar, m_lunarText, true);
    update();
}

void ClockFaceView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const auto draw = [&painter](const Line &line, const QColor &colour) {
        painter.setFont(line.font);
        painter.setPen(colour);
        painter.drawText(line.frame, Qt::AlignCenter, line.shown);
    };
    if (m_frames.showsDateAndLunar) {
        draw(m_date, TovikColors::white(0.88));
        draw(m_lunar, TovikColors::white(0.78));
    }
    m_clockGlyphs.setStyle(m_clock.font, Qt::white, devicePixelRatioF());
    m_clockGlyphs.draw(painter, m_clock.frame, m_clock.shown);
}
