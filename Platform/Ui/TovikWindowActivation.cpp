#include "TovikWindowActivation.h"

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformnativeinterface.h>

#include <cstdint>
#include <optional>

namespace TovikWindowActivation {

namespace {

// Qt hands its platform functions out under one generic type; the real signature is the platform's.
template <typename Function, typename Generic>
Function platformFunction(Generic generic)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(generic));
}

// X11 startup ids made by launchers end in "_TIME<timestamp of the user's click>".
std::optional<std::uint32_t> launchTime(const QByteArray &startupId)
{
    const qsizetype at = startupId.lastIndexOf("_TIME");
    if (at < 0) {
        return std::nullopt;
    }
    bool ok = false;
    const std::uint32_t time = startupId.mid(at + 5).toUInt(&ok);
    return ok && time != 0 ? std::optional(time) : std::nullopt;
}

void useStartupId(const QByteArray &startupId)
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (!native) {
        return;
    }
    using SetStartupId = void (*)(const char *);
    if (auto set = platformFunction<SetStartupId>(native->nativeResourceFunctionForIntegration("setstartupid"))) {
        set(startupId.constData());
    }
    QScreen *screen = QGuiApplication::primaryScreen();
    const auto time = launchTime(startupId);
    if (!screen || !time) {
        return;
    }
    // Qt stamps its activation request with these; the window manager lets a request as old as the click through.
    using SetTime = void (*)(QScreen *, std::uint32_t);
    for (const char *resource : {"setapptime", "setappusertime"}) {
        if (auto set = platformFunction<SetTime>(native->nativeResourceFunctionForScreen(resource))) {
            set(screen, *time);
        }
    }
}

} // namespace

QByteArray startupToken()
{
    const QByteArray wayland = qgetenv("XDG_ACTIVATION_TOKEN");
    return wayland.isEmpty() ? qgetenv("DESKTOP_STARTUP_ID") : wayland;
}

void useToken(const QByteArray &token)
{
    if (token.isEmpty()) {
        return;
    }
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        useStartupId(token);
    } else if (platform.startsWith(QLatin1String("wayland"))) {
        // Qt's Wayland shell activates with this token once, then clears it.
        qputenv("XDG_ACTIVATION_TOKEN", token);
    }
}

QByteArray handOverToken()
{
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!native || !screen || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return {};
    }
    // The X server time of the last user event Qt saw, handed out as a pointer-sized number.
    const auto time = static_cast<std::uint32_t>(
        reinterpret_cast<quintptr>(native->nativeResourceForScreen(QByteArrayLiteral("appusertime"), screen)));
    if (time == 0) {
        return {};
    }
    return QCoreApplication::applicationName().toUtf8() + '-' + QByteArray::number(QCoreApplication::applicationPid())
           + "_TIME" + QByteArray::number(time);
}

} // namespace TovikWindowActivation
