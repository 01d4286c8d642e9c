#pragma once

#include "ClockFaceLayout.h"
#include "TimeGlyphImages.h"

#include <ClockCalendarShared/Instant.h>

#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>

class TovikClock;

// The large digital clock: the date, "HH:mm:ss" and the lunar subtitle, centred one above the other and
// refreshed once a second while the view is shown. An owner may dictate the time font size; otherwise the
// view fits its own, and below 190 x 100 points it shows the time alone. It paints nothing behind the text.
class ClockFaceView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClockFaceView)
public:
    using Metrics = ClockFaceMetrics;

    ClockFaceView(const TovikClock &clock, const Metrics &metrics, QWidget *parent = nullptr);

    const Metrics &metrics() const { return m_metrics; }
    std::optional<double> timeFontSize() const { return m_timeFontSize; }
    void setTimeFontSize(std::optional<double> size);

    void refresh();
    void refresh(Instant now);

    QString dateText() const { return m_dateText; }
    QString timeText() const { return m_timeText; }
    QString lunarText() const { return m_lunarText; }
    bool showsDateAndLunar() const { return m_frames.showsDateAndLunar; }
    double clockFontSize() const { return m_frames.clockFontSize; }
    // The lines' frames from the last layout, y-up.
    const ClockFaceLayout::Frames &frames() const { return m_frames; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    const TovikClock &m_timeSource;
    struct Line {
        QRectF frame;
        QFont font;
        QString shown;
    };
    void layoutLines();
    void updateLine(Line &line, const QString &text, bool elides);
    void updateClockLine(const QString &text);

    Metrics m_metrics;
    std::optional<double> m_timeFontSize;
    ClockFaceLayout::Frames m_frames;
    QString m_dateText;
    QString m_timeText;
    QString m_lunarText;
    Line m_date;
    Line m_clock;
    Line m_lunar;
    TimeGlyphImages m_clockGlyphs;
};
