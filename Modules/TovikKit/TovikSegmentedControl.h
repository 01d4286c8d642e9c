#pragma once

#include "TovikColors.h"

#include <QColor>
#include <QIcon>
#include <QStringList>
#include <QWidget>

#include <vector>

// A rounded, small segmented control with select-one tracking: every segment has the same width and shows
// an image beside its label. A click selects the segment under it and then reports `activated`, also when
// that segment was already selected; the owner compares. It takes the focus from Tab only (a click leaves
// the focus where it was); then the arrow keys, Home and End select and report in the same way. Screen
// readers see a page tab list of page tabs that can be pressed.
class TovikSegmentedControl final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikSegmentedControl)
public:
    static constexpr double controlHeight = 20;
    static constexpr double imageSide = 16;

    explicit TovikSegmentedControl(const QStringList &labels, QWidget *parent = nullptr);

    int segmentCount() const { return static_cast<int>(m_segments.size()); }
    QString label(int segment) const;

    void setSegmentWidth(double width);
    double segmentWidth() const { return m_segmentWidth; }

    void setImage(int segment, const QIcon &image);
    QIcon image(int segment) const;

    // -1 means no selection; other values outside the segments are ignored.
    void setSelectedSegment(int segment);
    int selectedSegment() const { return m_selected; }

    void setSelectedFill(const QColor &color);

    // Selects a segment and reports it, as a click on it does (keys and screen readers use it too).
    void activate(int segment);

    // The frame of a segment inside the control (Qt coordinates), for painting and hit testing.
    QRectF segmentRect(int segment) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Segment {
        QString label;
        QIcon image;
    };

    int segmentAt(const QPointF &position) const;

    std::vector<Segment> m_segments;
    double m_segmentWidth = 68;
    int m_selected = -1;
    int m_pressed = -1;
    QColor m_selectedFill = TovikColors::white(0.16);
};
