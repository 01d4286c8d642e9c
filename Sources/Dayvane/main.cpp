// Program entry: one process per user, dark, with the delegate running the rest.
#include "DayvaneAppDelegate.h"
#include "DayvaneAppearance.h"
#include "DayvaneSingleInstance.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    // Windows position themselves and stay on top only through X; on Wayland use XWayland when offered.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    // The clock's digits are larger than the glyphs Qt caches by default (64 pixels), so every tick would
    // fill their outlines anew; caching them as images keeps the idle clock as cheap as a small label.
    if (qEnvironmentVariableIsEmpty("QT_MAX_CACHED_GLYPH_SIZE")) {
        qputenv("QT_MAX_CACHED_GLYPH_SIZE", "256");
    }
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("dayvane"));
    application.setDesktopFileName(QStringLiteral("dayvane"));
    application.setQuitOnLastWindowClosed(false);

    const QStringList urls = application.arguments().mid(1);
    DayvaneSingleInstance instance(DayvaneSingleInstance::defaultSocketPath());
    if (instance.handOver(urls.isEmpty() ? QStringList{DayvaneAppDelegate::reopenRequest()} : urls)) {
        return 0;
    }

    DayvaneAppearance::apply(application);
    DayvaneAppDelegate delegate(DayvaneAppDelegate::systemServices());
    QObject::connect(&instance, &DayvaneSingleInstance::messageReceived, &delegate,
                     &DayvaneAppDelegate::handleRequest);
    QTimer::singleShot(0, &delegate, [&] {
        if (delegate.launch()) {
            instance.listen();
            delegate.openUrls(urls);
        }
    });
    return application.exec();
}
