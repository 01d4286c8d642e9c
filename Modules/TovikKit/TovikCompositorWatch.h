#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

// Whether the display composites translucent windows, followed live: on X11 while a compositing manager owns
// the _NET_WM_CM_S0 selection; off X11 (Wayland through its own server, the offscreen platform) always.
class TovikCompositorWatch final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikCompositorWatch)
public:
    // The process-wide watch, started on first use.
    static TovikCompositorWatch *instance();

    bool isRunning() const { return m_isRunning; }
    // Asks the server again; for a change Qt's connection did not report.
    void recheck();

signals:
    void runningChanged(bool running);

protected:
    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    TovikCompositorWatch();

    bool m_isRunning = true;
    // The XFixes selection-notify event code on this connection; 0 without XFixes.
    std::uint8_t m_selectionNotify = 0;
};
