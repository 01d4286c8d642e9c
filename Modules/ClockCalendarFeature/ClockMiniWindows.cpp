#include "ClockMiniWindows.h"

#include "CalendarViewController.h"
#include "StopwatchView.h"
#include "TimeFontFitting.h"

#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/FloatingPanelWindowController.h>
#include <TovikKit/TovikFonts.h>
#include <TovikKit/TovikGeometry.h>
#include <TovikKit/TovikLayoutView.h>
#include <TovikKit/TovikWeakCallback.h>

#include <QEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace ClockMiniWindow {

namespace {

FloatingPanelConfiguration configuration(const QString &title, std::string prefix, QSizeF initialSize,
                                         QSizeF minimumSize)
{
    return {title,
            std::move(prefix),
            initialSize,
            minimumSize,
            12,
            false,
            QStringLiteral("在主窗口打开"),
            TovikSettingsStore::standard()};
}

} // namespace

FloatingPanelConfiguration clockConfiguration(std::string preferencesKeyPrefix)
{
    return configuration(QStringLiteral("时钟"), std::move(preferencesKeyPrefix), {340, 116}, {72, 28});
}

FloatingPanelConfiguration calendarConfiguration(std::string preferencesKeyPrefix)
{
    return configuration(QStringLiteral("日历"), std::move(preferencesKeyPrefix), {360, 320}, {240, 200});
}

FloatingPanelConfiguration stopwatchConfiguration(std::string preferencesKeyPrefix)
{
    return configuration(QStringLiteral("计时器"), std::move(preferencesKeyPrefix), {420, 116}, {180, 64});
}

std::unique_ptr<FloatingPanelWindowController> makeClock(const TovikClock &clock, std::string preferencesKeyPrefix)
{
    return std::make_unique<FloatingPanelWindowController>(clockConfiguration(std::move(preferencesKeyPrefix)),
                                                           new MiniClockViewController(clock));
}

std::unique_ptr<FloatingPanelWindowController> makeCalendar(const TovikClock &clock, std::string preferencesKeyPrefix)
{
    return std::make_unique<FloatingPanelWindowController>(calendarConfiguration(std::move(preferencesKeyPrefix)),
                                                           new MiniCalendarViewController(clock));
}

std::unique_ptr<FloatingPanelWindowController> makeStopwatch(const TovikClock &clock, const StopwatchStore &store,
                                                             std::string preferencesKeyPrefix)
{
    return std::make_unique<FloatingPanelWindowController>(stopwatchConfiguration(std::move(preferencesKeyPrefix)),
                                                           new MiniStopwatchViewController(clock, store));
}

QRectF contentRect(const QSizeF &bounds)
{
    return QRectF(QPointF(0, 0), bounds)
        .adjusted(miniContentHorizontalInset, miniContentVerticalInset, -miniContentHorizontalInset,
                  -miniContentVerticalInset);
}

std::optional<StopwatchLayout> stopwatchLayout(const QSizeF &bounds, const FitSize &fit)
{
    const QRectF r = contentRect(bounds);
    if (r.width() <= 1 || r.height() <= 1) {
        return std::nullopt;
    }
    const double maximum = std::max(std::min(r.width() / 4.9, r.height() * 0.78), 14.0);
    const double size = fit(r.size(), maximum, 12);
    const double h = std::min(std::max(std::ceil(size * 1.16), 20.0), r.height());
    return StopwatchLayout{size, QRectF(r.left(), r.center().y() - h / 2, r.width(), h)};
}

} // namespace ClockMiniWindow

MiniClockViewController::MiniClockViewController(const TovikClock &clock, QObject *parent)
    : TovikViewController(parent)
    , m_clockFace(new ClockFaceView(clock, ClockFaceView::Metrics::compact()))
{
}

MiniClockViewController::~MiniClockViewController()
{
    // Until the view is loaded the clock face has no parent to take it along.
    if (m_clockFace && !m_clockFace->parent()) {
        delete m_clockFace.data();
    }
}

QWidget *MiniClockViewController::loadView()
{
    auto *root = new TovikLayoutView;
    m_root = root;
    m_clockFace->setParent(root);
    root->onLayout = tovikWeakCallback(this, &MiniClockViewController::layout);
    return root;
}

void MiniClockViewController::layout()
{
    const QSizeF bounds = m_root->size();
    m_clockFace->setGeometry(TovikGeometry::toQt(ClockMiniWindow::contentRect(bounds), bounds.height()).toRect());
}

MiniCalendarViewController::MiniCalendarViewController(const TovikClock &clock, QObject *parent)
    : TovikViewController(parent)
    , m_clock(clock)
    , m_calendarViewController(new CalendarViewController(clock, this))
{
}

MiniCalendarViewController::~MiniCalendarViewController() = default;

void MiniCalendarViewController::addContextMenuEntries(QMenu &menu)
{
    m_calendarViewController->addContextMenuEntries(menu);
}

QWidget *MiniCalendarViewController::loadView()
{
    auto *root = new TovikLayoutView;
    m_calendarViewController->setTopContentInset(topContentInset);
    QWidget *page = m_calendarViewController->view();
    page->setParent(root);
    root->onLayout = [root = QPointer<TovikLayoutView>(root), page = QPointer<QWidget>(page)] {
        if (root && page) {
            page->setGeometry(root->rect());
        }
    };
    root->installEventFilter(this);
    return root;
}

bool MiniCalendarViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view()) {
        if (event->type() == QEvent::Show) {
            appear();
        } else if (event->type() == QEvent::Hide) {
            disappear();
        }
    }
    return TovikViewController::eventFilter(watched, event);
}

void MiniCalendarViewController::appear()
{
    disappear();
    m_dayTicker = new QTimer(this);
    m_dayTicker->setInterval(dayCheckInterval);
    connect(m_dayTicker, &QTimer::timeout, m_calendarViewController,
            [calendar = m_calendarViewController, clock = &m_clock] { calendar->refreshTodayIfNeeded(clock->now()); });
    m_dayTicker->start();
}

void MiniCalendarViewController::disappear()
{
    delete m_dayTicker.data();
}

MiniStopwatchViewController::MiniStopwatchViewController(const TovikClock &clock, const StopwatchStore &store,
                                                         QObject *parent)
    : TovikViewController(parent)
    , m_stopwatchView(new StopwatchView(clock, store, false))
{
}

MiniStopwatchViewController::~MiniStopwatchViewController()
{
    if (m_stopwatchView && !m_stopwatchView->parent()) {
        delete m_stopwatchView.data();
    }
}

QWidget *MiniStopwatchViewController::loadView()
{
    auto *root = new TovikLayoutView;
    m_root = root;
    m_stopwatchView->setParent(root);
    // The panel's keys reach the stopwatch: Space or Return starts and pauses, Delete resets, Ctrl+C copies.
    root->setFocusProxy(m_stopwatchView);
    root->onLayout = tovikWeakCallback(this, &MiniStopwatchViewController::layout);
    return root;
}

double MiniStopwatchViewController::fittedSize(QSizeF box, double maximum, double minimum)
{
    if (!m_lastFit || m_lastFit->first != box) {
        m_lastFit.emplace(box, TimeFontFitting::fittedSize(box, QStringLiteral("00:00:00"), maximum, minimum));
    }
    return m_lastFit->second;
}

void MiniStopwatchViewController::layout()
{
    const QSizeF bounds = m_root->size();
    const auto frames = ClockMiniWindow::stopwatchLayout(
        bounds, [this](QSizeF box, double maximum, double minimum) { return fittedSize(box, maximum, minimum); });
    if (!frames) {
        return;
    }
    m_stopwatchView->label()->setFont(
        TovikFonts::systemFont(frames->fontSize, QFont::DemiBold, TovikFonts::Digits::monospaced));
    m_stopwatchView->setGeometry(TovikGeometry::toQt(frames->frame, bounds.height()).toRect());
}
