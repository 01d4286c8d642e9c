#pragma once

#include "ClockFaceView.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikKit/FloatingPanelConfiguration.h>
#include <TovikKit/TovikViewController.h>

#include <QPointer>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <memory>
#include <optional>
#include <string>

class CalendarViewController;
class FloatingPanelWindowController;
class QTimer;
class StopwatchView;
class TovikClock;
class TovikLayoutView;

// The three pages as small floating windows: each factory wraps the page's mini content in a floating panel
// that is not yet shown; the caller presents it and owns it.
namespace ClockMiniWindow {

// How far the clock and stopwatch contents stay from their view's edges, on each side.
inline constexpr double miniContentHorizontalInset = 14;
inline constexpr double miniContentVerticalInset = 1;

FloatingPanelConfiguration clockConfiguration(std::string preferencesKeyPrefix);
FloatingPanelConfiguration calendarConfiguration(std::string preferencesKeyPrefix);
FloatingPanelConfiguration stopwatchConfiguration(std::string preferencesKeyPrefix);

std::unique_ptr<FloatingPanelWindowController> makeClock(const TovikClock &clock, std::string preferencesKeyPrefix);
std::unique_ptr<FloatingPanelWindowController> makeCalendar(const TovikClock &clock, std::string preferencesKeyPrefix);
std::unique_ptr<FloatingPanelWindowController> makeStopwatch(const TovikClock &clock, const StopwatchStore &store,
                                                             std::string preferencesKeyPrefix);

// A view's bounds less the content insets, y-up.
QRectF contentRect(const QSizeF &bounds);

// The stopwatch's font size and its text band, vertically centred across the inset width; none when the
// inset bounds are a point or less in either direction. `fit` answers the largest size at which
// "00:00:00" fits a box, given the box, the maximum and the minimum.
struct StopwatchLayout {
    double fontSize = 0;
    QRectF frame;
};
using FitSize = std::function<double(QSizeF box, double maximum, double minimum)>;
std::optional<StopwatchLayout> stopwatchLayout(const QSizeF &bounds, const FitSize &fit);

} // namespace ClockMiniWindow

// A compact clock face filling the view less the content insets; it shows the time alone when small.
class MiniClockViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MiniClockViewController)
public:
    explicit MiniClockViewController(const TovikClock &clock, QObject *parent = nullptr);
    ~MiniClockViewController() override;

protected:
    QWidget *loadView() override;

private:
    void layout();

    QPointer<ClockFaceView> m_clockFace;
    QPointer<TovikLayoutView> m_root;
};

// The calendar page under a 16-point top inset, checking once a minute while shown whether today moved on.
class MiniCalendarViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MiniCalendarViewController)
public:
    static constexpr double topContentInset = 16;
    static constexpr int dayCheckInterval = 60'000;

    explicit MiniCalendarViewController(const TovikClock &clock, QObject *parent = nullptr);
    ~MiniCalendarViewController() override;

    // The page's entries (显示农历) in the panel's menu.
    void addContextMenuEntries(QMenu &menu) override;

protected:
    QWidget *loadView() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void appear();
    void disappear();

    const TovikClock &m_clock;
    CalendarViewController *m_calendarViewController = nullptr;
    // Runs only between the view appearing and disappearing.
    QPointer<QTimer> m_dayTicker;
};

// The shared stopwatch without buttons, its text as large as the view allows; made by
// ClockMiniWindow::makeStopwatch alone.
class MiniStopwatchViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MiniStopwatchViewController)
public:
    MiniStopwatchViewController(const TovikClock &clock, const StopwatchStore &store, QObject *parent = nullptr);
    ~MiniStopwatchViewController() override;

protected:
    QWidget *loadView() override;

private:
    void layout();
    double fittedSize(QSizeF box, double maximum, double minimum);

    QPointer<StopwatchView> m_stopwatchView;
    QPointer<TovikLayoutView> m_root;
    // The last fit: a move of the panel relayouts without a size change.
    std::optional<std::pair<QSizeF, double>> m_lastFit;
};
