#pragma once

#include "ClockFaceView.h"
#include "StopwatchView.h"

#include <ClockCalendarShared/StopwatchStore.h>
#include <TovikKit/TovikLayoutView.h>
#include <TovikKit/TovikViewController.h>

#include <QPointer>
#include <QSizeF>

#include <optional>
#include <utility>
#include <variant>

// The page behind the clock tab and the stopwatch tab. On every layout it fits one time font size to the
// page and gives it to whichever of the clock face and the stopwatch is shown, so both tabs' digits match.
class TimePageViewController final : public TovikViewController {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimePageViewController)
public:
    struct Clock {};
    struct Stopwatch {
        StopwatchStore store;
    };
    using Content = std::variant<Clock, Stopwatch>;

    TimePageViewController(const TovikClock &clock, Content content, QObject *parent = nullptr);
    ~TimePageViewController() override;

protected:
    QWidget *loadView() override;

private:
    void layoutPage();
    double timeFontSize(QSizeF box, double maximum, double minimum);

    const TovikClock &m_clock;
    Content m_content;
    // Built on both kinds of page; only the clock page puts it into its view.
    QPointer<ClockFaceView> m_clockFace;
    // Null until the stopwatch page's view is loaded, and always on the clock page.
    QPointer<StopwatchView> m_stopwatchView;
    QPointer<TovikLayoutView> m_root;
    // The fit of the last layout, reused while the page keeps its size.
    std::optional<std::pair<QSizeF, double>> m_lastFit;
};
