#include "DayvaneWindowController.h"

#include "DayvaneFrameText.h"
#include "DayvaneWindowPlacement.h"

#include <ClockCalendarFeature/ClockCalendarViewController.h>
#include <ClockCalendarShared/StopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QRectF primaryGeometry()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? QRectF(primary->geometry()) : QRectF();
}

} // namespace

DayvaneWindowController::DayvaneWindowController(std::shared_ptr<TovikSettingsStore> preferences,
                                                 const StopwatchStore &stopwatchStore, QObject *parent)
    : QObject(parent)
    , m_preferences(std::move(preferences))
    , m_content(new ClockCalendarViewController({stopwatchStore, m_preferences, selectedTabKey}, this))
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
    // The content's view lives in the window; the window goes first so the view is deleted once.
    m_window.reset();
}

void DayvaneWindowController::showWindow()
{
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void DayvaneWindowController::show(DayvaneDeepLink)
{
    showWindow();
}

QRectF DayvaneWindowController::frame() const
{
    return DayvaneWindowPlacement::toGlobalYUp(QRectF(m_window->geometry()), primaryGeometry());
}

bool DayvaneWindowController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close) {
        windowWillClose();
    }
    return QObject::eventFilter(watched, event);
}

void DayvaneWindowController::windowWillClose()
{
    if (m_preferences) {
        m_preferences->set(frameKey, DayvaneFrameText::format(frame()));
    }
}

void DayvaneWindowController::placeWindow()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary) {
        return;
    }
    const QRectF primaryQt(primary->geometry());
    std::vector<QRectF> screens;
    for (const QScreen *screen : QGuiApplication::screens()) {
        screens.push_back(DayvaneWindowPlacement::toGlobalYUp(QRectF(screen->geometry()), primaryQt));
    }
    std::optional<QRectF> stored;
    if (m_preferences) {
        if (const auto text = m_preferences->text(frameKey)) {
            stored = DayvaneFrameText::parse(*text);
        }
    }
    const QRectF available = DayvaneWindowPlacement::toGlobalYUp(QRectF(primary->availableGeometry()), primaryQt);
    const QRectF created(0, 0, contentSize.width(), contentSize.height());
    const QRectF frame = DayvaneWindowPlacement::initialFrame(stored, created, screens, available);
    m_window->setGeometry(DayvaneWindowPlacement::toQtGlobal(frame, primaryQt).toRect());
}
