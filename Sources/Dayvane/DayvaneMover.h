#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Offers, at the start of a launch from an AppImage outside ~/Applications or from a read-only removable
// medium, to move the application into ~/Applications and start it from there instead. A system or
// package install never gets the offer.
namespace DayvaneMover {

enum class Language { chinese, english };

// The five texts of the offer, chosen together by language.
struct Texts {
    Language language = Language::english;
    QString title;
    QString message;
    QString move;
    QString decline;
    QString failureTitle;
};

// Chinese when the first preferred language begins with "zh"; English otherwise and for an empty list.
Texts texts(const QStringList &preferredLanguages);

// Why a move failed, for the failure alert in its language, from the errno value that stopped it.
QString failureReason(Language language, int errorNumber);

// The mount a path lies on.
struct Mount {
    QString mountPoint;
    bool isReadOnly = false;
};

// What the offer would move where, and the program to start afterwards.
struct Move {
    enum class Kind { appImageFile, applicationTree };
    Kind kind = Kind::applicationTree;
    QString source;
    QString destination;
    QString launchTarget;

    bool operator==(const Move &) const = default;
};

// What stopped a move: the errno value and the system's own text for it.
struct Failure {
    int errorNumber = 0;
    QString detail;
};

// What the offer needs from the system, so that it can be driven without a real AppImage or medium.
struct Environment {
    QString executable; // the running program's file
    QString appImage;   // $APPIMAGE: the AppImage file the runtime started, empty when unset
    QString appDir;     // $APPDIR: where the runtime mounted that AppImage
    QString home;
    std::function<Mount(const QString &path)> mountOf;
    std::function<QStringList()> preferredLanguages;
    std::function<bool(const Texts &texts)> askToMove;
    std::function<std::optional<Failure>(const Move &move)> install;
    std::function<void(const Texts &texts, const QString &reason, const QString &detail)> showFailure;
    std::function<void(const QString &program)> launch;
    std::function<void()> terminate;
};

Environment systemEnvironment();

// The move to offer where the program runs now; none for a system or package install, a writable
// medium, or an AppImage already in ~/Applications.
std::optional<Move> moveFor(const Environment &environment);

// True when a moved copy is being started and this instance is about to end; false otherwise (nothing to
// offer, declined, or failed after showing why).
bool offerMoveIfNeeded(const Environment &environment);
bool offerMoveIfNeeded();

// Sends whatever is at the destination to the desktop trash, then moves the AppImage file there (copying
// it across file systems) or copies the application tree there.
std::optional<Failure> install(const Move &move);

} // namespace DayvaneMover
