#pragma once

#include <QRectF>
#include <QSizeF>

// Where a floating panel's four chrome buttons sit and which of them show, as pure functions of the
// panel's size (y-up) and state, so the window controller only applies them.
namespace FloatingPanelChromeLayout {

struct Frames {
    QRectF close;
    QRectF openInMainWindow;
    QRectF textOnly;
    QRectF pin;

    bool operator==(const Frames &) const = default;
};

// Close 8 points from the left and 7 from the top, open-in-main-window 4 points right of it; pin 8 points
// from the right and 6 from the top, text-only 4 points left of it.
Frames frames(const QSizeF &container);

struct Visibility {
    bool close = false;
    bool openInMainWindow = false;
    bool textOnly = false;
    bool pin = false;
    bool hoverBorder = false;

    bool operator==(const Visibility &) const = default;
};

// Everything hides at rest. While hovered: close always (the toolkit's own, or, for a titled panel, the one
// drawn where the window's own would be), open-in-main-window only with overlay controls, pin and
// text-only always, the border only in the text-only look.
Visibility visibility(bool hovered, bool usesOverlayControls, bool textOnly);

} // namespace FloatingPanelChromeLayout
