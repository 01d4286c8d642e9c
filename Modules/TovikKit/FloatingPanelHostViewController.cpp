#include "FloatingPanelHostViewController.h"

#include <QCursor>
#include <QEvent>

FloatingPanelHostViewController::FloatingPanelHostViewController(QObject *parent)
    : QObject(parent)
{
}

void FloatingPanelHostViewController::setView(QWidget *view)
{
    if (m_view) {
        m_view->removeEventFilter(this);
    }
    m_view = view;
    if (m_view) {
        m_view->installEventFilter(this);
    }
}

bool FloatingPanelHostViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        switch (event->type()) {
        case QEvent::Resize:
        case QEvent::LayoutRequest:
            if (onLayout) {
                onLayout();
            }
            break;
        case QEvent::Show:
            syncHoverStateWithMouseLocation();
            break;
        case QEvent::Enter:
            reportHover(true);
            break;
        case QEvent::Leave:
            reportHover(false);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FloatingPanelHostViewController::reportHover(bool hovered)
{
    if (onHoverChanged) {
        onHoverChanged(hovered);
    }
}

void FloatingPanelHostViewController::syncHoverStateWithMouseLocation()
{
    const QWidget *window = m_view ? m_view->window() : nullptr;
    reportHover(window && window->frameGeometry().contains(QCursor::pos()));
}
