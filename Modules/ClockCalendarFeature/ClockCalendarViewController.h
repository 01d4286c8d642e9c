#pragma once

#include "ClockCalendarConfiguration.h"
#include "ClockCalendarTab.h"

#include <ClockCalendarShared/Instant.h>
#include <TovikKit/TovikColors.h>
#include <TovikKit/TovikLayoutView.h>
#include <TovikKit/TovikSegmentedControl.h>
#include <TovikKit/TovikViewController.h>

#include <QAbstractButton>
#include <QColor>
#include <QIcon>
#include <QPointer>
#include <QRectF>

#include <array>
#include <functional>

class CalendarViewController;
class TimePageViewController;

// The whole content of the main window: a strip with the tab control and the mini-window button above a
// container showing one of the three pages. Remembers the shown tab in the preferences it is given.
// Keys: Ctrl+1, Ctrl+2 and Ctrl+3 show the clock, calendar and stopwatch; Ctrl+Tab and Ctrl+Shift+Tab cycle;
// Ctrl+M asks for the shown tab's mini window.
class ClockCalendarViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ClockCalendarViewController)
public:
    static constexpr double titleBarHeight = 28;
    static constexpr double segmentWidth = 68;
    static constexpr double miniWindowButtonSide = 22;
    static constexpr double tabIconSide = 16;
    static QColor backgroundColor() { return TovikColors::windowBackground(); }

    // Frames of the strip's parts and of the container inside root bounds, y-up.
    struct Layout {
        QRectF segment;
        QRectF miniWindowButton;
        QRectF contentContainer;
    };
    static Layout layout(const QSizeF &bounds, const QSizeF &segmentSize);

    static QString tabLabel(ClockCalendarTab tab);
    static QString tabSymbol(ClockCalendarTab tab);
    static QColor tabColor(ClockCalendarTab tab);
    static QColor unselectedTabColor() { return TovikColors::systemGray(); }
    // The 16-point rounded gradient icon with the tab's symbol in white, painted at the ratio it is shown at.
    static QIcon tabIcon(const QString &symbol, const QColor &color);

    explicit ClockCalendarViewController(ClockCalendarConfiguration configuration, QObject *parent = nullptr);
    ~ClockCalendarViewController() override;

    const ClockCalendarConfiguration &configuration() const { return m_configuration; }
    int selectedIndex() const { return m_selectedIndex; }

    // Setting a callback shows the mini-window button; clearing it hides the button again.
    void setOnOpenMiniWindow(std::function<void(ClockCalendarTab)> callback);
    const std::function<void(ClockCalendarTab)> &onOpenMiniWindow() const { return m_onOpenMiniWindow; }

    QWidget *contentContainer() const { return m_contentContainer; }
    TovikSegmentedControl *segment() const { return m_segment; }
    // The page whose view is in the container.
    TovikViewController *shownPage() const { return m_shownPage; }

    void segmentChanged();
    void openMiniWindow();
    // Shows a tab as a click on its segment would, and gives the keyboard focus to its page.
    void selectTab(int index);

protected:
    QWidget *loadView() override;

private:
    struct TabIconPair {
        QIcon selected;
        QIcon unselected;
    };

    TovikViewController *pageOf(ClockCalendarTab tab) const;
    void showChild(int index);
    void layoutSubviews();
    void addShortcuts(QWidget *root);
    void focusShownPage();

    ClockCalendarConfiguration m_configuration;
    CalendarViewController *m_calendarViewController = nullptr;
    TimePageViewController *m_clockViewController = nullptr;
    TimePageViewController *m_stopwatchViewController = nullptr;
    std::array<TabIconPair, 3> m_tabIcons;
    QPointer<TovikLayoutView> m_root;
    QPointer<QWidget> m_contentContainer;
    QPointer<TovikSegmentedControl> m_segment;
    QPointer<QAbstractButton> m_miniWindowButton;
    TovikViewController *m_shownPage = nullptr;
    int m_selectedIndex = 0;
    std::function<void(ClockCalendarTab)> m_onOpenMiniWindow;
};
