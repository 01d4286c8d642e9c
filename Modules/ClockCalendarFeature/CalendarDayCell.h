#pragma once

#include "CalendarLayout.h"

#include <ClockCalendarShared/TovikCalendarGrid.h>
#include <TovikKit/FloatingPanelInteractiveView.h>

#include <QColor>
#include <QFont>
#include <QStaticText>
#include <QString>
#include <QWidget>

#include <optional>

class QPainter;

// One day of a month view: the day number, a one-line caption under it (holiday name, "上班", or a lunar
// caption), and the
// translucent selection fill whose rounded corners the month view chooses. It paints itself instead of
// holding labels, and lets every mouse event through to the month view, which runs the gestures.
class CalendarDayCell final : public QWidget, public FloatingPanelInteractiveView {
    Q_OBJECT
    Q_INTERFACES(FloatingPanelInteractiveView)
    Q_DISABLE_COPY_MOVE(CalendarDayCell)
public:
    explicit CalendarDayCell(QWidget *parent = nullptr);

    void configure(const QString &text, bool isMuted, bool isToday, bool isSelected,
                   const std::optional<QString> &holidayName, bool isMakeupWorkday);
    // Replaces the caption alone (the month's choice by the grid's rule); repaints only when it changed.
    void setCaption(const TovikCalendarCaption &caption);
    // Sets the number's size; its weight follows the flags as they are now.
    void setFontSize(double points);
    // Changes only the selection fill; repaints only when something changed. The mask holds y-up corner
    // bits (CalendarSelection::Corner) and is ignored for an unselected day.
    void setSelection(bool isSelected, unsigned maskedCorners);
    // The keyboard's focus day wears a ring; repaints only when it changes.
    void setFocusRing(bool shows);
    bool showsFocusRing() const { return m_showsFocusRing; }

    bool isSelectedDay() const { return m_isSelected; }
    unsigned selectionMaskedCorners() const { return m_maskedCorners; }
    QString dayText() const { return m_text; }
    QString captionText() const { return m_caption; }
    TovikCalendarCaption::Kind captionKind() const { return m_captionKind; }
    bool isCaptionVisible() const { return !m_caption.isEmpty() && !m_isMuted; }
    QColor numberColor() const;
    QColor captionColor() const;
    QFont::Weight numberWeight() const { return m_weight; }
    double fontSize() const { return m_fontSize; }
    bool isMutedDay() const { return m_isMuted; }
    bool isTodayDay() const { return m_isToday; }
    bool isMakeupWorkdayDay() const { return m_isMakeupWorkday; }
    // Frames of the number and the caption in this cell, y-up.
    CalendarLayout::DayCellFrames labelFrames() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont::Weight weightForState() const;
    // A text laid out once, with its width, for the font it was measured in.
    struct PreparedText {
        QStaticText text;
        QFont font;
        double width = 0;
    };
    static void drawCentred(QPainter &painter, PreparedText &text, const QString &content, const QFont &font,
                            double lineHeight, const QRectF &frame);

    QString m_text;
    QString m_caption;
    TovikCalendarCaption::Kind m_captionKind = TovikCalendarCaption::Kind::none;
    bool m_isMuted = false;
    bool m_isToday = false;
    bool m_isMakeupWorkday = false;
    bool m_isSelected = false;
    bool m_showsFocusRing = false;
    unsigned m_maskedCorners = 0;
    PreparedText m_numberText;
    PreparedText m_captionText;
    QString m_elidedCaption;
    QString m_elidedCaptionSource;
    double m_elidedCaptionWidth = -1;
    double m_fontSize = 15;
    QFont::Weight m_weight = QFont::Bold;
};
