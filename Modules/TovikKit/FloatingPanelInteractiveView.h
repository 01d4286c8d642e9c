#pragma once

#include <QObject>

// Marks a view that keeps its own clicks and drags inside a floating panel instead of moving the panel.
// A view class adopts it with Q_INTERFACES(FloatingPanelInteractiveView); the panel's chrome asks the hit
// view and its ancestors through `isFloatingPanelInteractive`. The interface is found by its identifier,
// so a view built in a plugin is recognised like one built into the application.
class FloatingPanelInteractiveView {
public:
    virtual ~FloatingPanelInteractiveView() = default;
    // True for a view that uses clicks but no drags of its own: a press on it that moves farther than the
    // platform's drag distance moves the panel instead, and the view is told to forget the press.
    virtual bool movesPanelWhenDragged() const { return false; }
    virtual void pressBecamePanelDrag() {}
};

#define FloatingPanelInteractiveView_iid "local.tovik.FloatingPanelInteractiveView/1"
Q_DECLARE_INTERFACE(FloatingPanelInteractiveView, FloatingPanelInteractiveView_iid)

inline bool isFloatingPanelInteractive(const QObject *view)
{
    return qobject_cast<const FloatingPanelInteractiveView *>(view) != nullptr;
}
