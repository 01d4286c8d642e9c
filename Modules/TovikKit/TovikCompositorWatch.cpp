#include "TovikCompositorWatch.h"

#include "TovikEwmh.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// The first event code of the XFixes extension, through the core protocol; 0 when it is missing.
std::uint8_t xfixesFirstEvent()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c) {
        return 0;
    }
    const char *name = "XFIXES";
    const std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> reply(
        xcb_query_extension_reply(c, xcb_query_extension(c, static_cast<std::uint16_t>(std::strlen(name)), name),
                                  nullptr),
        &std::free);
    return reply && reply->present ? reply->first_event : 0;
}

} // namespace

TovikCompositorWatch *TovikCompositorWatch::instance()
{
    static TovikCompositorWatch *const watch = new TovikCompositorWatch;
    return watch;
}

TovikCompositorWatch::TovikCompositorWatch()
{
    m_isRunning = !TovikEwmh::isAvailable() || TovikEwmh::compositorRunning();
    // Qt's own connection already follows the compositor selection with XFixes (its selection-notify events
    // pass every native event filter); the event says only that the owner changed, so the owner is asked.
    m_selectionNotify = xfixesFirstEvent();
    if (m_selectionNotify != 0) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
}

void TovikCompositorWatch::recheck()
{
    const bool running = !TovikEwmh::isAvailable() || TovikEwmh::compositorRunning();
    if (running != m_isRunning) {
        m_isRunning = running;
        emit runningChanged(running);
    }
}

bool TovikCompositorWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType == "xcb_generic_event_t") {
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7f) == m_selectionNotify) {
            // Answered after this event is handled: asking the server from inside its dispatch would reorder it.
            QMetaObject::invokeMethod(this, &TovikCompositorWatch::recheck, Qt::QueuedConnection);
        }
    }
    return false;
}
