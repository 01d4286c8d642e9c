#pragma once

#include <QCursor>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <optional>

// The view holding a floating panel's content. A press anywhere on it moves the panel, except on controls
// and on views marked FloatingPanelInteractiveView (and their children), which keep their own handling;
// a press in the 32-point square at the bottom-right corner resizes it, whatever lies under the corner,
// and the resize cursor shows there.
class FloatingPanelChromeView final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPanelChromeView)
public:
    static constexpr double resizeHitSize = 32;

    explicit FloatingPanelChromeView(QWidget *parent = nullptr);

    // The resize square of a view of `bounds`, y-up: smaller when the view is.
    static QRectF resizeHotZone(const QSizeF &bounds);
    // Drawn from the symbol set once; the diagonal resize cursor when the symbol is missing.
    static QCursor bottomRightResizeCursor();

    // Which view a press at the y-up point `p` belongs to, given the view `hit` the press would reach:
    // this view (a move or a resize) or `hit` itself; none outside the bounds.
    QWidget *hitTarget(QWidget *hit, const QPointF &p);

    bool isResizingFromBottomRight() const { return m_isResizingFromBottomRight; }
    bool isMoving() const { return m_dragMouseOrigin.has_value(); }

signals:
    // A right click (or the menu key) anywhere but on a control: the owner shows the panel's menu for
    // `target`, the view asked, at `globalPosition`.
    void menuRequested(QWidget *target, const QPoint &globalPosition);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void watchSubtree(QObject *object);
    QPointF yUp(const QPointF &local) const;
    void beginGesture(const QPointF &localPosition, const QPointF &globalPosition);
    void continueGesture(const QPointF &globalPosition);
    void endGesture();
    void updateCursor(const QPointF &localPosition);

    std::optional<QPointF> m_dragMouseOrigin;
    std::optional<QPointF> m_dragWindowOrigin;
    std::optional<QPointF> m_resizeMouseOrigin;
    std::optional<QRectF> m_resizeWindowFrame;
    bool m_isResizingFromBottomRight = false;
    // A press on a view that moves the panel once dragged: where it began (global) and on which view.
    std::optional<QPointF> m_pressOrigin;
    QPointer<QWidget> m_pressedView;
};
