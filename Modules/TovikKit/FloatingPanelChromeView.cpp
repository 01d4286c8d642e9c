#include "FloatingPanelChromeView.h"

#include "BottomRightWindowResize.h"
#include "FloatingPanel.h"
#include "FloatingPanelInteractiveView.h"
#include "TovikScreenPlacement.h"
#include "TovikSegmentedControl.h"
#include "TovikSymbols.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QChildEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHoverEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleHints>

#include <algorithm>

namespace {

// The widgets that play the part of controls: they take their own presses.
bool isControl(const QObject *view)
{
    return qobject_cast<const QAbstractButton *>(view) || qobject_cast<const QAbstractSlider *>(view)
           || qobject_cast<const QAbstractSpinBox *>(view) || qobject_cast<const QComboBox *>(view)
           || qobject_cast<const QLineEdit *>(view) || qobject_cast<const TovikSegmentedControl *>(view);
}

// Whether a marked view under `local` lets its presses through to `view` (a day cell to its month view), so
// that `view` takes them on the marked view's behalf.
bool insideControl(const QWidget *view, const QWidget *chrome)
{
    for (; view && view != chrome; view = view->parentWidget()) {
        if (isControl(view)) {
            return true;
        }
    }
    return false;
}

// The marked view `hit` belongs to when that view lets a drag move the panel.
FloatingPanelInteractiveView *dragMovableView(QWidget *hit, const QWidget *chrome)
{
    for (QWidget *view = hit; view && view != chrome; view = view->parentWidget()) {
        if (auto *interactive = qobject_cast<FloatingPanelInteractiveView *>(view)) {
            return interactive->movesPanelWhenDragged() ? interactive : nullptr;
        }
    }
    return nullptr;
}

bool passesPressesFromInteractiveChild(const QWidget *view, const QPoint &local)
{
    for (const QObject *object : view->children()) {
        const auto *child = qobject_cast<const QWidget *>(object);
        if (!child || child->isHidden() || !child->testAttribute(Qt::WA_TransparentForMouseEvents)
            || !child->geometry().contains(local)) {
            continue;
        }
        if (isFloatingPanelInteractive(child)
            || passesPressesFromInteractiveChild(child, child->mapFromParent(local))) {
            return true;
        }
    }
    return false;
}

QCursor makeResizeCursor()
{
    const QString name = QStringLiteral("arrow.down.right.and.arrow.up.left");
    const double ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1;
    const QPainterPath symbol = TovikSymbols::path(name, QRectF(2, 2, 16, 16), QFont::DemiBold);
    if (symbol.isEmpty()) {
        return QCursor(Qt::SizeFDiagCursor);
    }
    QPixmap image(qRound(20 * ratio), qRound(20 * ratio));
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A light outline keeps the dark arrows visible over the dark panel.
    painter.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::black);
    painter.drawPath(symbol);
    painter.end();
    // The hot spot (2, 18) counts from the bottom-left corner.
    return QCursor(image, 2, 20 - 18);
}

} // namespace

FloatingPanelChromeView::FloatingPanelChromeView(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
}

QRectF FloatingPanelChromeView::resizeHotZone(const QSizeF &bounds)
{
    return QRectF(std::max(bounds.width() - resizeHitSize, 0.0), 0, std::min(bounds.width(), resizeHitSize),
                  std::min(bounds.height(), resizeHitSize));
}

QCursor FloatingPanelChromeView::bottomRightResizeCursor()
{
    static const QCursor cursor = makeResizeCursor();
    return cursor;
}

QWidget *FloatingPanelChromeView::hitTarget(QWidget *hit, const QPointF &p)
{
    const QRectF bounds(QPointF(0, 0), QSizeF(size()));
    if (!TovikScreenPlacement::containsPointer(bounds, p)) {
        return nullptr;
    }
    if (TovikScreenPlacement::containsPointer(resizeHotZone(size()), p) || !hit || hit == this) {
        return this;
    }
    if (isControl(hit)) {
        return hit;
    }
    for (const QWidget *view = hit; view && view != this; view = view->parentWidget()) {
        if (isFloatingPanelInteractive(view) || (view != hit && isControl(view))) {
            return hit;
        }
    }
    const QPoint local = QPointF(p.x(), height() - p.y()).toPoint();
    if (isAncestorOf(hit) && passesPressesFromInteractiveChild(hit, hit->mapFrom(this, local))) {
        return hit;
    }
    return this;
}

QPointF FloatingPanelChromeView::yUp(const QPointF &local) const
{
    return TovikScreenPlacement::pointToGlobalYUp(local, QRectF(0, 0, width(), height()));
}

bool FloatingPanelChromeView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        watchSubtree(static_cast<QChildEvent *>(event)->child());
        break;
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        updateCursor(static_cast<QHoverEvent *>(event)->position());
        break;
    case QEvent::ContextMenu: {
        // Here from the chrome itself, or ignored by a control, which keeps the panel's menu off it.
        auto *request = static_cast<QContextMenuEvent *>(event);
        if (!insideControl(childAt(request->pos()), this)) {
            emit menuRequested(this, request->globalPos());
        }
        return true;
    }
    default:
        break;
    }
    return QWidget::event(event);
}

// Presses on the content reach the content first; the chrome looks at them on their way so that the
// resize corner and the panel's move win where they should.
bool FloatingPanelChromeView::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        watchSubtree(static_cast<QChildEvent *>(event)->child());
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *hit = qobject_cast<QWidget *>(watched);
        if (!hit || !isAncestorOf(hit)) {
            // A view moved out of the panel keeps its presses to itself.
            watched->removeEventFilter(this);
            break;
        }
        if (mouse->button() != Qt::LeftButton) {
            break;
        }
        const QPointF local = mapFromGlobal(mouse->globalPosition());
        QWidget *target = hitTarget(hit, yUp(local));
        if (target == this) {
            beginGesture(local, mouse->globalPosition());
            return true;
        }
        m_pressOrigin.reset();
        m_pressedView = nullptr;
        if (target && dragMovableView(hit, this)) {
            m_pressOrigin = mouse->globalPosition();
            m_pressedView = hit;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_dragMouseOrigin && !m_isResizingFromBottomRight && m_pressOrigin && m_pressedView
            && (mouse->buttons() & Qt::LeftButton) != 0
            && (mouse->globalPosition() - *m_pressOrigin).manhattanLength()
                   >= QGuiApplication::styleHints()->startDragDistance()) {
            // Past the drag distance the press was no click: the panel follows the pointer from where it
            // was pressed.
            if (FloatingPanelInteractiveView *view = dragMovableView(m_pressedView, this)) {
                view->pressBecamePanelDrag();
            }
            beginGesture(mapFromGlobal(*m_pressOrigin), *m_pressOrigin);
            m_pressOrigin.reset();
        }
        if (m_dragMouseOrigin || m_isResizingFromBottomRight) {
            continueGesture(mouse->globalPosition());
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_pressOrigin.reset();
        m_pressedView = nullptr;
        if (m_dragMouseOrigin || m_isResizingFromBottomRight) {
            endGesture();
            return true;
        }
        break;
    case QEvent::ContextMenu: {
        auto *hit = qobject_cast<QWidget *>(watched);
        if (hit && isAncestorOf(hit) && !insideControl(hit, this)) {
            emit menuRequested(hit, static_cast<QContextMenuEvent *>(event)->globalPos());
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void FloatingPanelChromeView::watchSubtree(QObject *object)
{
    if (!object->isWidgetType()) {
        return;
    }
    object->removeEventFilter(this);
    object->installEventFilter(this);
    for (QObject *child : object->children()) {
        watchSubtree(child);
    }
}

void FloatingPanelChromeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        beginGesture(event->position(), event->globalPosition());
    }
}

void FloatingPanelChromeView::mouseMoveEvent(QMouseEvent *event)
{
    continueGesture(event->globalPosition());
}

void FloatingPanelChromeView::mouseReleaseEvent(QMouseEvent *)
{
    endGesture();
}

void FloatingPanelChromeView::beginGesture(const QPointF &localPosition, const QPointF &globalPosition)
{
    const QPointF mouse = TovikScreenPlacement::globalPointYUp(globalPosition);
    QWidget *panel = window() != this ? window() : nullptr;
    m_dragMouseOrigin.reset();
    m_dragWindowOrigin.reset();
    m_resizeMouseOrigin.reset();
    m_resizeWindowFrame.reset();
    m_isResizingFromBottomRight = false;
    if (panel && TovikScreenPlacement::containsPointer(resizeHotZone(size()), yUp(localPosition))) {
        m_isResizingFromBottomRight = true;
        m_resizeMouseOrigin = mouse;
        m_resizeWindowFrame = TovikScreenPlacement::frame(*panel);
        setCursor(bottomRightResizeCursor());
        return;
    }
    m_dragMouseOrigin = mouse;
    if (panel) {
        m_dragWindowOrigin = TovikScreenPlacement::frame(*panel).topLeft();
    }
}

void FloatingPanelChromeView::continueGesture(const QPointF &globalPosition)
{
    QWidget *panel = window() != this ? window() : nullptr;
    if (!panel) {
        return;
    }
    const QPointF mouse = TovikScreenPlacement::globalPointYUp(globalPosition);
    if (m_isResizingFromBottomRight && m_resizeMouseOrigin && m_resizeWindowFrame) {
        BottomRightWindowResize::apply(*panel, *m_resizeWindowFrame, *m_resizeMouseOrigin, mouse,
                                       QSizeF(panel->minimumSize()));
        return;
    }
    if (m_dragMouseOrigin && m_dragWindowOrigin) {
        const QRectF proposed(*m_dragWindowOrigin + (mouse - *m_dragMouseOrigin), QSizeF(panel->size()));
        const auto *floatingPanel = qobject_cast<const FloatingPanel *>(panel);
        TovikScreenPlacement::setFrame(*panel, floatingPanel ? floatingPanel->constrainFrameRect(proposed) : proposed);
    }
}

void FloatingPanelChromeView::endGesture()
{
    m_dragMouseOrigin.reset();
    m_dragWindowOrigin.reset();
    m_resizeMouseOrigin.reset();
    m_resizeWindowFrame.reset();
    m_isResizingFromBottomRight = false;
}

void FloatingPanelChromeView::updateCursor(const QPointF &localPosition)
{
    if (TovikScreenPlacement::containsPointer(resizeHotZone(size()), yUp(localPosition))) {
        setCursor(bottomRightResizeCursor());
    } else if (!m_isResizingFromBottomRight) {
        unsetCursor();
    }
}
