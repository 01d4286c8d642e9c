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
    QObject::connect(&instance, &DayvaneSingleInstance::messageReceived, &delegate, &DayvaneAppDelegate::handleRequest);
    QTimer::singleShot(0, &delegate, [&] {
        if (delegate.launch()) {
            instance.listen();
            delegate.openUrls(urls);
        }
    });
    return application.exec();
}
