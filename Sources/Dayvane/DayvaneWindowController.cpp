#include "DayvaneWindowController.h"

#include "DayvaneWindowPlacement.h"

#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarFeature/ClockMiniWindows.h>
#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikClock.h>
#include <TovikKit/FloatingPanel.h>
#include <TovikKit/FloatingPanelWindowController.h>
#include <TovikKit/TovikFrameText.h>
#include <TovikKit/TovikScreenPlacement.h>

#include <QCoreApplication>
#include <QEvent>
#include <QShortcut>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <vector>

namespace {

DayvaneDeepLink linkFor(ClockCalendarTab tab)
{
    switch (tab) {
    case ClockCalendarTab::clock:
        return DayvaneDeepLink::clock;
    case ClockCalendarTab::calendar:
        return DayvaneDeepLink::calendar;
    case ClockCalendarTab::stopwatch:
        break;
    }
    return DayvaneDeepLink::stopwatch;
}

ClockCalendarTab tabFor(DayvaneDeepLink link)
{
    switch (link) {
    case DayvaneDeepLink::clock:
        return ClockCalendarTab::clock;
    case DayvaneDeepLink::calendar:
        return ClockCalendarTab::calendar;
    case DayvaneDeepLink::stopwatch:
        break;
    }
    return ClockCalendarTab::stopwatch;
}

} // namespace

DayvaneWindowController::DayvaneWindowController(std::shared_ptr<TovikSettingsStore> preferences,
                                                 const StopwatchStore &stopwatchStore, QObject *parent)
    : QObject(parent)
    , m_preferences(std::move(preferences))
    , m_stopwatchStore(stopwatchStore)
    , m_content(
          new ClockCalendarViewController({TovikClock::shared(), stopwatchStore, m_preferences, selectedTabKey}, this))
    , m_window(std::make_unique<QWidget>())
{
    // Closing only hides the window; the same window comes back on reopen.
    m_window->setWindowTitle(QStringLiteral("Dayvane"));
    m_window->setMinimumSize(minimumSize);
    m_window->resize(contentSize);
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, ClockCalendarViewController::backgroundColor());
    m_window->setPalette(palette);
    m_window->setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(m_window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content->view());

    addQuitShortcut(*m_window);

    m_content->setOnOpenMiniWindow([this, guard = QPointer<DayvaneWindowController>(this)](ClockCalendarTab tab) {
        if (guard) {
            show(linkFor(tab));
        }
    });

    placeWindow();
    m_window->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (m_window->isVisible()) {
            windowWillClose();
        }
    });
}

DayvaneWindowController::~DayvaneWindowController()
{
    m_window->removeEventFilter(this);
    if (m_window->windowHandle()) {
        m_window->windowHandle()->removeEventFilter(this);
    }
    // Closing panels on the way out must not bring the main window back.
    for (auto &[link, panel] : m_miniWindows) {
        disconnect(panel.get(), nullptr, this, nullptr);
    }
    m_miniWindows.clear();
    // The content's view lives in the window; the window goes first so the view is deleted once.
    m_window.reset();
}

void DayvaneWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void DayvaneWindowController::bringForward()
{
    std::vector<FloatingPanelWindowController *> shown;
    for (const auto &[link, panel] : m_miniWindows) {
        if (panel->window()->isVisible()) {
            shown.push_back(panel.get());
        }
    }
    if (m_window->isVisible() || shown.empty()) {
        TovikScreenPlacement::presentOnActiveDesktop(*m_window, false);
        return;
    }
    for (FloatingPanelWindowController *panel : shown) {
        panel->bringForward();
    }
}

void DayvaneWindowController::show(DayvaneDeepLink link)
{
    // Ordered out rather than closed; its frame is kept as a close would keep it, since the application may
    // end while only mini windows show.
    if (m_window->isVisible()) {
        windowWillClose();
    }
    m_window->hide();
    miniWindow(link)->present(0);
}

void DayvaneWindowController::addQuitShortcut(QWidget &window)
{
    // Ctrl+Q from any window of the application, as its only way to quit from the keyboard. One shortcut per
    // window: an application-wide one lives with the main window and is dead while that window is hidden.
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &window);
    quit->setContext(Qt::WindowShortcut);
    connect(quit, &QShortcut::activated, this, &DayvaneWindowController::quitRequested);
}

FloatingPanelWindowController *DayvaneWindowController::miniWindow(DayvaneDeepLink link)
{
    if (const auto found = m_miniWindows.find(link); found != m_miniWindows.end()) {
        return found->second.get();
    }
    const TovikClock &clock = m_content->configuration().clock;
    std::unique_ptr<FloatingPanelWindowController> panel;
    switch (link) {
    case DayvaneDeepLink::calendar:
        panel = ClockMiniWindow::makeCalendar(clock, "dayvane.calendar.window");
        break;
    case DayvaneDeepLink::clock:
        panel = ClockMiniWindow::makeClock(clock, "dayvane.clock.window");
        break;
    case DayvaneDeepLink::stopwatch:
        panel = ClockMiniWindow::makeStopwatch(clock, m_stopwatchStore, "dayvane.stopwatch.window");
        break;
    }
    connect(panel.get(), &FloatingPanelWindowController::windowWillClose, this,
            [this, link] { miniWindowWillClose(link); });
    addQuitShortcut(*panel->window());
    panel->onOpenInMainWindow = [this, guard = QPointer<DayvaneWindowController>(this), link] {
        if (guard) {
            openInMainWindow(link);
        }
    };
    return m_miniWindows.emplace(link, std::move(panel)).first->second.get();
}

void DayvaneWindowController::miniWindowWillClose(DayvaneDeepLink closing)
{
    // The closing panel may still call itself visible; it never counts.
    for (const auto &[link, panel] : m_miniWindows) {
        if (link != closing && panel->window()->isVisible()) {
            return;
        }
    }
    showWindow();
}

void DayvaneWindowController::openInMainWindow(DayvaneDeepLink link)
{
    // Hidden, not closed: the main window comes back on the panel's page whatever other panels show.
    m_miniWindows.at(link)->window()->hide();
    m_content->selectTab(static_cast<int>(tabFor(link)));
    showWindow();
}

QRectF DayvaneWindowController::frame() const
{
    return TovikScreenPlacement::frame(*m_window);
}

bool DayvaneWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close) {
        windowWillClose();
    }
    // The title bar's height is known only once the window manager has framed the window: at its first
    // exposure.
    if (watched == m_window.get() && event->type() == QEvent::Show && !m_fittedWithDecorations
        && m_window->windowHandle()) {
        m_window->windowHandle()->installEventFilter(this);
    }
    if (m_window && watched == m_window->windowHandle() && event->type() == QEvent::Expose && !m_fittedWithDecorations
        && m_window->windowHandle()->isExposed()) {
        m_fittedWithDecorations = true;
        m_window->windowHandle()->removeEventFilter(this);
        fitWithDecorations();
    }
    return QObject::eventFilter(watched, event);
}

void DayvaneWindowController::windowWillClose()
{
    if (m_preferences) {
        m_preferences->set(frameKey, TovikFrameText::format(frame()));
    }
}

void DayvaneWindowController::fitWithDecorations()
{
    const QRect outer = m_window->frameGeometry();
    const QRect inner = m_window->geometry();
    const QMarginsF decorations(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                                outer.bottom() - inner.bottom());
    if (decorations.isNull()) {
        return;
    }
    const QRectF current = frame();
    const QRectF fitted = DayvaneWindowPlacement::decoratedFrame(current, decorations, QSizeF(minimumSize),
                                                                 TovikScreenPlacement::screens());
    if (fitted != current) {
        TovikScreenPlacement::setFrame(*m_window, fitted);
    }
}

void DayvaneWindowController::placeWindow()
{
    std::optional<QRectF> stored;
    if (m_preferences) {
        if (const auto text = m_preferences->text(frameKey)) {
            stored = TovikFrameText::parse(*text);
        }
    }
    const std::vector<TovikScreenPlacement::Screen> screens = TovikScreenPlacement::screens();
    if (screens.empty()) {
        return;
    }
    TovikScreenPlacement::setFrame(
        *m_window, DayvaneWindowPlacement::initialFrame(stored, QSizeF(contentSize), QSizeF(minimumSize), screens));
}
