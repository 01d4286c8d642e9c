#pragma once

#include <ClockCalendarShared/StopwatchStore.h>
#include <DayvaneCore/DayvaneDeepLink.h>

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QSize>

#include <map>
#include <memory>

class ClockCalendarViewController;
class FloatingPanelWindowController;
class TovikSettingsStore;
class QWidget;

// Owns the main window around the tabbed content and keeps its frame in the preferences: read when the
// window is made, written when it closes (or when the application quits while it is shown). The main window
// and the mini windows take turns: showing a mini window hides the main window, and closing the last
// visible mini window brings it back.
class DayvaneWindowController final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayvaneWindowController)
public:
    static constexpr QSize contentSize{720, 480};
    static constexpr QSize minimumSize{520, 360};
    static constexpr const char *frameKey = "dayvane.mainWindow.frame";
    static constexpr const char *selectedTabKey = "dayvane.selectedTab";

    DayvaneWindowController(std::shared_ptr<TovikSettingsStore> preferences, const StopwatchStore &stopwatchStore,
                            QObject *parent = nullptr);
    ~DayvaneWindowController() override;

    QWidget *window() const { return m_window.get(); }
    ClockCalendarViewController *content() const { return m_content; }

    // Shows the window and brings it to the front with the focus.
    void showWindow();
    // What a second launch asks for: what stands for the application on the desktop in use, in front with
    // the focus: the shown mini windows while they stand in for the main window, else the main window.
    void bringForward();
    // Shows the link's mini window in place of the main window.
    void show(DayvaneDeepLink link);
    // The mini windows made so far; each is made on first use and kept.
    const std::map<DayvaneDeepLink, std::unique_ptr<FloatingPanelWindowController>> &miniWindows() const
    {
        return m_miniWindows;
    }
    // The window's frame in the global y-up space, as stored.
    QRectF frame() const;

signals:
    // Ctrl+Q in the main window or a mini window.
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void windowWillClose();
    void addQuitShortcut(QWidget &window);
    FloatingPanelWindowController *miniWindow(DayvaneDeepLink link);
    void miniWindowWillClose(DayvaneDeepLink closing);
    void openInMainWindow(DayvaneDeepLink link);
    void placeWindow();
    void fitWithDecorations();

    std::shared_ptr<TovikSettingsStore> m_preferences;
    StopwatchStore m_stopwatchStore;
    ClockCalendarViewController *m_content = nullptr;
    std::unique_ptr<QWidget> m_window;
    bool m_fittedWithDecorations = false;
    std::map<DayvaneDeepLink, std::unique_ptr<FloatingPanelWindowController>> m_miniWindows;
};
