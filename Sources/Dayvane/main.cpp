// Program entry: one process per user, dark, with the delegate running the rest.
#include "DayvaneAppDelegate.h"
#include "DayvaneAppearance.h"
#include "DayvaneCommandLine.h"
#include "DayvaneRefusal.h"
#include "DayvaneSingleInstance.h"

#include <ClockCalendarFeature/ClockCalendarAccessibility.h>
#include <ClockCalendarShared/TovikHolidayArrangement.h>
#include <Platform/LocalSocket/TovikLocalServer.h>
#include <Platform/Ui/TovikDisplayServer.h>
#include <Platform/Ui/TovikFontconfigWarmup.h>
#include <Platform/Ui/TovikQuitSignals.h>
#include <Platform/Ui/TovikStoreProblemNotice.h>
#include <Platform/Ui/TovikWindowActivation.h>

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>

int main(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const DayvaneCommandLine commandLine = DayvaneCommandLine::parse(arguments);
    switch (commandLine.action) {
    case DayvaneCommandLine::Action::showHelp:
    case DayvaneCommandLine::Action::showVersion:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    case DayvaneCommandLine::Action::checkHolidays: {
        bool accepted = false;
        const std::string verdict =
            TovikHolidayArrangement::verdict(commandLine.holidayFile.toStdString(), &accepted) + "\n";
        std::fputs(verdict.c_str(), stdout);
        return accepted ? 0 : 1;
    }
    case DayvaneCommandLine::Action::fail:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return 1;
    case DayvaneCommandLine::Action::run:
        break;
    }

    TovikDisplayServer::preferXWayland();
    // Decided before Qt starts: a later process needs no display, and hands over the token Qt would take.
    DayvaneSingleInstance instance =
        DayvaneSingleInstance::claim(commandLine.request(TovikWindowActivation::startupToken()));
    switch (instance.state()) {
    case DayvaneSingleInstance::State::handedOver:
        return 0;
    case DayvaneSingleInstance::State::unanswered:
        std::fputs("dayvane: 正在运行的 Dayvane 没有应答\n", stderr);
        return 1;
    case DayvaneSingleInstance::State::refused:
        return DayvaneRefusal::report(argc, argv, QString::fromStdString(instance.unusable()->message()));
    case DayvaneSingleInstance::State::instance:
    case DayvaneSingleInstance::State::alone:
        break;
    }
    TovikFontconfigWarmup fonts;
    QApplication application(argc, argv);
    application.setApplicationName(QStringLiteral("dayvane"));
    application.setDesktopFileName(QStringLiteral("dayvane"));
    application.setQuitOnLastWindowClosed(false);
    fonts.finish();
    // Before any view exists, so that a screen reader meets every view through its own face.
    ClockCalendarAccessibility::install();

    TovikQuitSignals quitSignals;
    QObject::connect(&quitSignals, &TovikQuitSignals::received, &application, &QCoreApplication::quit);
    // Before any store opens, so that a store that cannot be written is told of.
    TovikStoreProblemNotice storeProblems;

    // Requests of later processes wait until the main window exists.
    std::unique_ptr<TovikLocalServer> server;
    if (auto listener = instance.takeListener()) {
        server = std::make_unique<TovikLocalServer>(
            std::move(listener),
            std::vector<TovikLocalProtocol::Kind>{TovikLocalProtocol::Kind::open, TovikLocalProtocol::Kind::reopen});
        server->setPaused(true);
    }

    DayvaneAppearance::apply(application);
    DayvaneAppDelegate delegate(DayvaneAppDelegate::systemServices());
    if (server) {
        QObject::connect(server.get(), &TovikLocalServer::requestReceived, &delegate,
                         &DayvaneAppDelegate::handleRequest);
    }
    QTimer::singleShot(0, &delegate, [&] {
        if (delegate.launch()) {
            delegate.openUrls(commandLine.urls);
            if (server) {
                server->setPaused(false);
            }
        }
    });
    return application.exec();
}
