#pragma once

#include <QObject>

class QMenu;

// Implemented by a view with menu entries of its own (the stopwatch's 复制). Inside a floating panel a right
// click on it, or the menu key while it has the focus, opens the panel's menu with these entries on top;
// elsewhere the view shows them alone. Found by its identifier, like FloatingPanelInteractiveView.
class FloatingPanelMenuContributor {
public:
    virtual ~FloatingPanelMenuContributor() = default;
    // Adds this view's entries to `menu`; they act on the view.
    virtual void addContextMenuEntries(QMenu &menu) = 0;
};

#define FloatingPanelMenuContributor_iid "local.tovik.FloatingPanelMenuContributor/1"
Q_DECLARE_INTERFACE(FloatingPanelMenuContributor, FloatingPanelMenuContributor_iid)
