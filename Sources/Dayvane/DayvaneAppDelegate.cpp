#include "DayvaneAppDelegate.h"

#include "DayvaneMover.h"
#include "DayvaneWindowController.h"

#include <DayvaneCore/DayvaneDeepLink.h>
#include <DayvaneCore/DayvaneStopwatchStore.h>
#include <Platform/Settings/TovikSettingsStore.h>

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
    m_mainWindowController->showWindow();
    // Mini windows are tool windows, which Qt's own last-window rule ignores; this rule counts them.
    qApp->installEventFilter(this);
    return true;
}

void DayvaneAppDelegate::reopen()
{
    if (m_mainWindowController) {
        m_mainWindowController->showWindow();
    }
}

void DayvaneAppDelegate::openUrls(const QStringList &urls)
{
    for (const QString &url : urls) {
        if (const auto link = DayvaneDeepLinks::fromUrl(url.toStdString())) {
            if (m_mainWindowController) {
                m_mainWindowController->show(*link);
            }
            return;
        }
    }
}

void DayvaneAppDelegate::handleRequest(const QStringList &request)
{
    if (request.isEmpty() || request == QStringList{reopenRequest()}) {
        reopen();
    } else if (request == QStringList{closeMainWindowRequest()}) {
        if (m_mainWindowController) {
            m_mainWindowController->window()->close();
        }
    } else {
        openUrls(request);
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
