#pragma once

// Marks a view that keeps its own clicks and drags inside a floating panel instead of moving the panel.
// The panel's chrome looks for it on the hit view and its ancestors.
class FloatingPanelInteractiveView {
public:
    virtual ~FloatingPanelInteractiveView() = default;
};
