#pragma once

#include "FloatingPanelConfiguration.h"
#include "FloatingPanelPreferences.h"

#include <QColor>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class FloatingPanel;
class FloatingPanelChromeButton;
class FloatingPanelChromeView;
class FloatingPanelHostViewController;
class FloatingPanelHoverBorderView;
class QMenu;
class QTimer;
class TovikSurfaceView;
class TovikViewController;
class TovikWindowBackingView;

// Turns a page into a floating panel: the panel and its layered views, four chrome buttons shown while the
// mouse is over it, the pinned and text-only looks, its frame kept per screen, and its presentation on the
// current desktop. Closing only hides the panel, so a later present shows the same one.
class FloatingPanelWindowController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FloatingPanelWindowController)
public:
    // Near-black, almost opaque: white 0.055 at alpha 0.96. The glass takes its colour at the opacity the
    // compositor allows.
    static QColor surfaceColor();

    // Takes ownership of `contentController`.
    FloatingPanelWindowController(FloatingPanelConfiguration configuration, TovikViewController *contentController,
                                  QObject *parent = nullptr);
    ~FloatingPanelWindowController() override;

    TovikViewController *contentController() const { return m_contentController; }
    const FloatingPanelPreferences &preferences() const { return m_preferences; }
    const FloatingPanelConfiguration &configuration() const { return m_configuration; }
    FloatingPanel *window() const { return m_window.get(); }
    bool hasRestoredFrame() const { return m_hasRestoredFrame; }

    // Run by the open-in-main-window button and menu entry; nothing happens without it.
    std::function<void()> onOpenInMainWindow;

    // Shows the panel in front, centred under the mouse the first time unless a frame was restored, then
    // moved right by `dx`.
    void present(double dx = 0);
    // Re-applies the pin state to the window without saving it.
    void syncPinnedSpaceBehavior();
    // Raises a shown panel with the focus, fetched to the desktop in use when it is not on every desktop.
    void bringForward();

    bool isPinned() const { return m_isPinned; }
    bool isTextOnly() const { return m_isTextOnly; }
    bool isChromeVisible() const { return m_isChromeVisible; }
    // The text-only look as drawn: without a compositor the surface stays opaque.
    bool drawsTextOnly() const;

    // The panel's context menu, built afresh for its current state; owned by the caller. Views from
    // `target` up that contribute entries (FloatingPanelMenuContributor) put theirs first, above a separator.
    std::unique_ptr<QMenu> makeContextMenu(QWidget *target = nullptr);
    // The same menu from the keyboard (the Menu key or Shift+F10), for the focused view, at the panel's
    // top-left corner, so the chrome's actions are reachable without a pointer.
    void popUpContextMenu();

    void closeStandaloneWindow();
    void openInMainWindow();
    void toggleTextOnly();
    void togglePin();

signals:
    // The panel is closing (it is only hidden).
    void windowWillClose();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void configureButtons();
    void layoutChrome();
    void setChromeVisible(bool visible);
    void applyPinState(std::optional<bool> pinned, bool persist);
    void applyTextOnly(bool textOnly, bool persist);
    void applySurface();
    void persistFrame();
    void persistPendingFrame();
    void presentingStep(bool shouldCenter, double dx);

    TovikViewController *m_contentController = nullptr;
    FloatingPanelPreferences m_preferences;
    bool m_hasRestoredFrame = false;
    FloatingPanelConfiguration m_configuration;
    std::unique_ptr<FloatingPanel> m_window;
    FloatingPanelChromeButton *m_closeButton = nullptr;
    FloatingPanelChromeButton *m_openMainButton = nullptr;
    FloatingPanelChromeButton *m_textOnlyButton = nullptr;
    FloatingPanelChromeButton *m_pinButton = nullptr;
    FloatingPanelHoverBorderView *m_hoverBorderView = nullptr;
    FloatingPanelChromeView *m_chromeContainer = nullptr;
    TovikSurfaceView *m_glassEffectView = nullptr;
    FloatingPanelHostViewController *m_windowHost = nullptr;
    TovikWindowBackingView *m_backingView = nullptr;
    bool m_isPinned = true;
    bool m_isChromeVisible = false;
    bool m_isTextOnly = false;
    bool m_hasPresented = false;
    // Frames are saved only for moves and resizes of the shown panel, not for the ones that build it.
    bool m_observesFrameChanges = false;
    // A drag moves the panel at every pointer step; the frame is written once it rests (or closes).
    QTimer *m_frameSave = nullptr;
};
