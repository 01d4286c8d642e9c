#pragma once

#include "FloatingPanelConfiguration.h"
#include "TovikScreenPlacement.h"

#include <QWidget>

#include <optional>

// A small frameless top-level window that floats above ordinary windows: it is shown without activating
// the application, takes keyboard focus when clicked, stays out of the task bar and pager, and its frame
// changes only through its own moving and resizing, never by a maximise request.
class FloatingPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPanel)
public:
    explicit FloatingPanel(const FloatingPanelConfiguration &configuration);

    // The keep-visible rule: `frame` moved so that 24 points of it stay on `screen`, else on the panel's own
    // screen, else on the primary one; unchanged without screens.
    QRectF constrainFrameRect(const QRectF &frame,
                              const std::optional<TovikScreenPlacement::Screen> &screen = std::nullopt) const;

    // Pinned: above normal windows and on every desktop; released: ordinary stacking on the current
    // desktop. The window manager honours a change only for a mapped window, so owners apply it again
    // after presenting the panel.
    bool isPinned() const { return m_isPinned; }
    void setPinned(bool pinned);

    // Whether the window manager is asked to blur the desktop behind the rounded surface.
    bool isBlurredBehind() const { return m_isBlurredBehind; }
    void setBlurredBehind(bool blurred);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool m_isPinned = true;
    bool m_isBlurredBehind = false;
    double m_cornerRadius = 0;
};
