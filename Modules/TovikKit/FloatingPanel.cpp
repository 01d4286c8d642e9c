#include "FloatingPanel.h"

#include "TovikEwmh.h"

#include <QEvent>
#include <QTimer>

#include <cmath>

FloatingPanel::FloatingPanel(const FloatingPanelConfiguration &configuration)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
    , m_cornerRadius(configuration.cornerRadius)
{
    // The surface is drawn by the panel's own views with rounded corners; an alpha channel lets them show
    // through wherever a compositor runs.
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(configuration.title);
    setMinimumSize(static_cast<int>(std::ceil(configuration.minimumSize.width())),
                   static_cast<int>(std::ceil(configuration.minimumSize.height())));
    resize(qRound(configuration.initialSize.width()), qRound(configuration.initialSize.height()));
}

QRectF FloatingPanel::constrainFrameRect(const QRectF &frame,
                                         const std::optional<TovikScreenPlacement::Screen> &screen) const
{
    std::optional<TovikScreenPlacement::Screen> target = screen;
    if (!target) {
        target = TovikScreenPlacement::screenOf(*this);
    }
    return target ? TovikScreenPlacement::keptVisible(frame, target->frame) : frame;
}

void FloatingPanel::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // A maximise or full-screen request from the window manager never changes the panel's frame.
    if (event->type() == QEvent::WindowStateChange
        && (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0) {
        const QRect before = normalGeometry().isValid() ? normalGeometry() : geometry();
        const Qt::WindowStates undone = windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen);
        // Undone on the next turn: the window system is still applying the request now.
        QTimer::singleShot(0, this, [this, before, undone] {
            setWindowState(undone);
            setGeometry(before);
        });
    }
}

void FloatingPanel::setPinned(bool pinned)
{
    m_isPinned = pinned;
    TovikEwmh::applyPin(*this, pinned, isVisible());
}

void FloatingPanel::setBlurredBehind(bool blurred)
{
    m_isBlurredBehind = blurred;
    // Asked again once the native window exists, and at every resize.
    if (testAttribute(Qt::WA_WState_Created)) {
        TovikEwmh::applyBlurBehind(*this, m_cornerRadius, blurred);
    }
}

void FloatingPanel::showEvent(QShowEvent *event)
{
    // The window exists but is not mapped yet: its initial state keeps it out of the task bar and pager.
    TovikEwmh::applyPin(*this, m_isPinned, false);
    TovikEwmh::applyRoundedShape(*this, m_cornerRadius);
    TovikEwmh::applyBlurBehind(*this, m_cornerRadius, m_isBlurredBehind);
    QWidget::showEvent(event);
}

void FloatingPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (isVisible()) {
        TovikEwmh::applyRoundedShape(*this, m_cornerRadius);
        if (m_isBlurredBehind) {
            TovikEwmh::applyBlurBehind(*this, m_cornerRadius, true);
        }
    }
}
