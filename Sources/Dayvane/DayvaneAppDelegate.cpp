#include "DayvaneAppDelegate.h"

#include "DayvaneMover.h"
#include "DayvaneWindowController.h"

#include <ClockCalendarFeature/CalendarLunarSetting.h>
#include <DayvaneCore/DayvaneDeepLink.h>
#include <DayvaneCore/DayvaneSharedCalendar.h>
#include <DayvaneCore/DayvaneStopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>
#include <Platform/Ui/TovikWindowActivation.h>

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

DayvaneAppDelegate::Services DayvaneAppDelegate::systemServices()
{
    return {
        [] { return DayvaneMover::offerMoveIfNeeded(); },
        [] {
            return std::make_unique<DayvaneWindowController>(TovikSettingsStore::standard(),
                                                             DayvaneStopwatchStore::shared());
        },
        [] { QCoreApplication::quit(); },
        [](const QByteArray &activationToken) { TovikWindowActivation::useToken(activationToken); },
    };
}

DayvaneAppDelegate::DayvaneAppDelegate(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
}

DayvaneAppDelegate::~DayvaneAppDelegate()
{
    qApp->removeEventFilter(this);
}

bool DayvaneAppDelegate::launch()
{
    if (m_services.offerMove()) {
        return false;
    }
    m_mainWindowController = m_services.makeMainWindow();
    connect(m_mainWindowController.get(), &DayvaneWindowController::quitRequested, this, [this] { m_services.quit(); });
    m_mainWindowController->showWindow();
    // The widgets read the lunar switch from the shared suite: mirrored now and at every change.
    CalendarLunarSetting &lunar = CalendarLunarSetting::shared();
    const auto mirror = [](bool shows) {
        DayvaneSharedCalendar::mirrorShowsLunar(DayvaneSharedCalendar::suite(), shows);
    };
    mirror(lunar.showsLunar());
    connect(&lunar, &CalendarLunarSetting::showsLunarChanged, this, mirror);
    // Mini windows are tool windows, which Qt's own last-window rule ignores; this rule counts them.
    qApp->installEventFilter(this);
    return true;
}

void DayvaneAppDelegate::reopen(const QByteArray &activationToken)
{
    if (!m_mainWindowController) {
        return;
    }
    // Showing alone leaves a minimised window minimised; any other state (maximised, say) stays.
    QWidget *window = m_mainWindowController->window();
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    useActivationToken(activationToken);
    m_mainWindowController->bringForward();
}

void DayvaneAppDelegate::openUrls(const QStringList &urls, const QByteArray &activationToken)
{
    for (const QString &url : urls) {
        if (const auto link = DayvaneDeepLinks::fromUrl(url.toStdString())) {
            useActivationToken(activationToken);
            if (m_mainWindowController) {
                m_mainWindowController->show(*link);
            }
            return;
        }
    }
}

void DayvaneAppDelegate::handleRequest(const TovikLocalProtocol::Request &request)
{
    const QByteArray token = QByteArray::fromStdString(request.activationToken);
    switch (request.kind) {
    case TovikLocalProtocol::Kind::open: {
        QStringList urls;
        for (const std::string &url : request.arguments) {
            urls.append(QString::fromStdString(url));
        }
        openUrls(urls, token);
        break;
    }
    case TovikLocalProtocol::Kind::reopen:
        reopen(token);
        break;
    case TovikLocalProtocol::Kind::reload:
        // The widget host's request; the application's socket does not serve it.
        break;
    }
}

void DayvaneAppDelegate::useActivationToken(const QByteArray &activationToken)
{
    if (!activationToken.isEmpty() && m_services.useActivationToken) {
        m_services.useActivationToken(activationToken);
    }
}

bool DayvaneAppDelegate::anyWindowVisible(const QList<QWidget *> &windows)
{
    for (const QWidget *window : windows) {
        const Qt::WindowType type = window->windowType();
        if (window->isVisible() && type != Qt::Popup && type != Qt::ToolTip) {
            return true;
        }
    }
    return false;
}

bool DayvaneAppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Hide && !m_checkPending && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow()) {
        // Checked after the event loop turn, so a window hidden while another is being shown does not count.
        m_checkPending = true;
        QTimer::singleShot(0, this, &DayvaneAppDelegate::quitIfNoWindowVisible);
    }
    return QObject::eventFilter(watched, event);
}

void DayvaneAppDelegate::quitIfNoWindowVisible()
{
    m_checkPending = false;
    if (!anyWindowVisible(QApplication::topLevelWidgets())) {
        m_services.quit();
    }
}
