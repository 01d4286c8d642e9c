#pragma once

#include "StopwatchControlButton.h"
#include "TimeTextLabel.h"

#include <ClockCalendarShared/Instant.h>
#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikKit/FloatingPanelInteractiveView.h>
#include <TovikKit/FloatingPanelMenuContributor.h>

#include <QElapsedTimer>
#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <optional>

class StopwatchActionQueue;
class TovikDeferredTask;
class TovikClock;

// The shared stopwatch as a large "HH:MM:SS" text, optionally with start/pause and reset buttons below it.
// It keeps no state of its own: every refresh re-reads the store and every action writes it. A click on the
// view toggles once the double-click interval has passed; a double click resets instead. A click counts
// when the button comes up, so that inside a floating panel a press dragged away moves the panel and
// neither toggles nor resets. With the focus, Space or Return toggles at once, Delete or Backspace resets
// and Ctrl+C copies the time.
class StopwatchView final : public QWidget, public FloatingPanelInteractiveView, public FloatingPanelMenuContributor {
    Q_OBJECT
    Q_INTERFACES(FloatingPanelInteractiveView FloatingPanelMenuContributor)
    Q_DISABLE_COPY_MOVE(StopwatchView)
public:
    // The button row reserved at the bottom when the controls are shown.
    static constexpr double controlsHeight = StopwatchControlButton::buttonHeight + 14;

    // Frames inside the view's bounds, y-up; the buttons only with controls.
    struct Frames {
        QRectF label;
        std::optional<QRectF> toggle;
        std::optional<QRectF> reset;
    };
    static Frames layout(const QRectF &bounds, bool showsControls);

    StopwatchView(const TovikClock &clock, StopwatchStore store, bool showsControls, QWidget *parent = nullptr);

    // Owners set the label's font to the size their layout fits.
    TimeTextLabel *label() const { return m_label; }
    // The focus ring marks keyboard focus only, so a mini window that takes the focus when it opens or is
    // clicked shows no frame around its digits.
    bool showsFocusRing() const { return hasFocus() && m_keyboardFocus; }

    void refresh();
    // Returns the state shown.
    StopwatchState refresh(Instant now);
    // Puts the visible time on the clipboard as plain text.
    void copyTime() const;
    // Whole seconds of the time shown, the display's value for screen readers.
    double shownSeconds() const { return m_shownSeconds; }

    bool movesPanelWhenDragged() const override { return true; }
    void pressBecamePanelDrag() override;
    // 复制.
    void addContextMenuEntries(QMenu &menu) override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    const TovikClock &m_clock;
    void press(QMouseEvent *event, bool reportedAsDoubleClick);
    void setKeyboardFocus(bool keyboard);
    void toggle();
    void reset();
    void announceValue();
    void layoutSubviews();

    StopwatchActionQueue *m_actions = nullptr;
    TimeTextLabel *m_label = nullptr;
    StopwatchControlButton *m_toggleButton = nullptr;
    StopwatchControlButton *m_resetButton = nullptr;
    TovikDeferredTask *m_pendingSingleClick = nullptr;
    std::optional<bool> m_shownRunning;
    bool m_keyboardFocus = false;
    double m_shownSeconds = 0;
    // Screen readers hear the time change at most once a second.
    QElapsedTimer m_sinceValueAnnounced;
    double m_announcedSeconds = -1;
    // Clicks are counted here: Qt reports the second press of a pair as a double click and never a third.
    int m_clickCount = 0;
    // A left press whose click is still to come with the release.
    bool m_pressPending = false;
    quint64 m_lastClickTimestamp = 0;
    QPointF m_lastClickPosition;
};
