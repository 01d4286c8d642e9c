#pragma once

#include <Platform/LocalSocket/TovikLocalProtocol.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the command line asks for: URLs to open, the help or the version printed, or a holiday file checked.
// Requests of other kinds travel between processes (TovikLocalProtocol.h), never as arguments.
struct DayvaneCommandLine {
    enum class Action { run, showHelp, showVersion, checkHolidays, fail };

    Action action = Action::run;
    // The URLs, in order, without empty ones.
    QStringList urls;
    // What to print for the help, the version, or the reason of a failure.
    QString text;
    // The YEAR.json file to check.
    QString holidayFile;

    static DayvaneCommandLine parse(const QStringList &arguments);

    // What this process hands a running instance: its URLs, or a reopen without any, with the token it
    // was started with.
    TovikLocalProtocol::Request request(const QByteArray &activationToken) const;
};
