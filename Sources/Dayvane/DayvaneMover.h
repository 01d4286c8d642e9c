#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Offers, at the start of a launch from a read-only mount (an AppImage or a read-only medium), to copy the
// application into ~/Applications and start the copy instead.
namespace DayvaneMover {

// The five texts of the offer, chosen together by language.
struct Texts {
    QString title;
    QString message;
    QString move;
    QString decline;
    QString failureTitle;
};

// Chinese when the first preferred language begins with "zh"; English otherwise and for an empty list.
Texts texts(const QStringList &preferredLanguages);

// What the offer needs from the system, so that it can be driven without a read-only mount.
struct Environment {
    QString installedTree; // the running AppImage, or the folder of the installed tree
    QString destination;   // where the copy goes
    QString launchTarget;  // the program to start inside the copy
    std::function<bool(const QString &path)> isReadOnly;
    std::function<QStringList()> preferredLanguages;
    std::function<bool(const Texts &texts)> askToMove;
    // None on success, else the description of what stopped it.
    std::function<std::optional<QString>(const QString &source, const QString &destination)> install;
    std::function<void(const Texts &texts, const QString &description)> showFailure;
    std::function<void(const QString &program)> launch;
    std::function<void()> terminate;
};

Environment systemEnvironment();

// True when a moved copy is being started and this instance is about to end; false otherwise (not on a
// read-only mount, declined, or failed after showing why).
bool offerMoveIfNeeded(const Environment &environment);
bool offerMoveIfNeeded();

// Sends whatever is at `destination` to the desktop trash, then copies `source` (a file or a folder) there.
std::optional<QString> install(const QString &source, const QString &destination);

} // namespace DayvaneMover
