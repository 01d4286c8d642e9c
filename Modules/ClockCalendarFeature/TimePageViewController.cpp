#include "TimePageViewController.h"

#include "ClockFaceView.h"
#include "StopwatchView.h"
#include "TimeFontFitting.h"
#include "TimePageLayout.h"

#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>
#include <TovikKit/TovikLayoutView.h>
#include <TovikKit/TovikWeakCallback.h>

#include <utility>

TimePageViewController::TimePageViewController(const TovikClock &clock, Content content, QObject *parent)
    : TovikViewController(parent)
    , m_clock(clock)
    , m_content(std::move(content))
    , m_clockFace(new ClockFaceView(clock, ClockFaceView::Metrics::page()))
{
}

TimePageViewController::~TimePageViewController()
{
    // Outside the view tree (the stopwatch page, or a view never loaded) the clock face is ours alone.
    if (m_clockFace && !m_clockFace->parent()) {
        delete m_clockFace.data();
    }
}

QWidget *TimePageViewController::loadView()
{
    auto *root = new TovikLayoutView;
    m_root = root;
    if (const auto *stopwatch = std::get_if<Stopwatch>(&m_content)) {
        m_stopwatchView = new StopwatchView(m_clock, stopwatch->store, true, root);
    } else {
        m_clockFace->setParent(root);
    }
    root->onLayout = tovikWeakCallback(this, &TimePageViewController::layoutPage);
    return root;
}

double TimePageViewController::timeFontSize(QSizeF box, double maximum, double minimum)
{
    if (!m_lastFit || m_lastFit->first != box) {
        m_lastFit.emplace(box, TimeFontFitting::fittedSize(box, QStringLiteral("00:00:00"), maximum, minimum));
    }
    return m_lastFit->second;
}

void TimePageViewController::layoutPage()
{
    if (!m_root) {
        return;
    }
    const QSizeF page = m_root->size();
    const auto frames =
        TimePageLayout::layout(page, StopwatchView::controlsHeight, [this](QSizeF box, double maximum, double minimum) {
            return timeFontSize(box, maximum, minimum);
        });
    if (!frames) {
        return;
    }
    const double size = frames->timeFontSize;
    if (m_clockFace) {
        m_clockFace->setTimeFontSize(size);
        m_clockFace->setGeometry(TovikGeometry::toQt(frames->content, page.height()).toRect());
    }
    if (m_stopwatchView) {
        m_stopwatchView->label()->setFont(
            TovikFonts::systemFont(size, QFont::DemiBold, TovikFonts::Digits::monospaced));
        m_stopwatchView->setGeometry(TovikGeometry::toQt(frames->stopwatch, page.height()).toRect());
    }
}
