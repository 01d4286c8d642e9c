// On a real X server (Xvfb): a token handed over by another process becomes Qt's startup id, its _TIME the
// time of the next activation, and the startup is completed when a window maps.
#include "VirtualDisplay.h"

#include <Platform/Ui/TovikWindowActivation.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <qpa/qplatformnativeinterface.h>

#include <cstdlib>

namespace {

QByteArray startupId()
{
    return QByteArray(static_cast<const char *>(
        QGuiApplication::platformNativeInterface()->nativeResourceForIntegration("startupid")));
}

TEST(TovikWindowActivation, onX11TheTokenBecomesTheStartupIdOfTheNextWindow)
{
    VirtualDisplay display;
    ASSERT_FALSE(display.name().empty()) << "Xvfb did not start";
    ::setenv("DISPLAY", display.name().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::unsetenv("DESKTOP_STARTUP_ID");
    // No session bus is needed; looking for one that is not there leaks inside libdbus.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
    int argc = 1;
    char name[] = "TovikWindowActivationTest";
    char *argv[] = {name, nullptr};
    QApplication application(argc, argv);
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    EXPECT_TRUE(startupId().isEmpty());

    TovikWindowActivation::useToken({});
    EXPECT_TRUE(startupId().isEmpty()) << "no token, nothing changes";

    TovikWindowActivation::useToken("dayvane-test-1_TIME4242");
    EXPECT_EQ(startupId(), QByteArrayLiteral("dayvane-test-1_TIME4242"));
    QScreen *screen = QGuiApplication::primaryScreen();
    auto *native = QGuiApplication::platformNativeInterface();
    EXPECT_EQ(reinterpret_cast<quintptr>(native->nativeResourceForScreen("apptime", screen)), 4242u);
    EXPECT_EQ(reinterpret_cast<quintptr>(native->nativeResourceForScreen("appusertime", screen)), 4242u);

    QWidget window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(startupId().isEmpty()) << "mapping the window completed the startup";
}

TEST(TovikWindowActivation, theStartupTokenPrefersWaylands)
{
    ::setenv("XDG_ACTIVATION_TOKEN", "wayland-token", 1);
    ::setenv("DESKTOP_STARTUP_ID", "x11-id", 1);
    EXPECT_EQ(TovikWindowActivation::startupToken(), QByteArrayLiteral("wayland-token"));
    ::unsetenv("XDG_ACTIVATION_TOKEN");
    EXPECT_EQ(TovikWindowActivation::startupToken(), QByteArrayLiteral("x11-id"));
    ::unsetenv("DESKTOP_STARTUP_ID");
    EXPECT_TRUE(TovikWindowActivation::startupToken().isEmpty());
}

} // namespace
