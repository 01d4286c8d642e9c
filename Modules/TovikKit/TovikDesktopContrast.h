#pragma once

#include <QObject>
#include <QVariant>

class QDBusVariant;

// Follows the desktop's contrast preference (the Settings portal's org.freedesktop.appearance "contrast")
// into TovikWindowChrome's reduce-transparency state, live; without a portal the state stays off.
class TovikDesktopContrast final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikDesktopContrast)
public:
    // Starts following once per process; later calls do nothing.
    static void follow();

    // A portal value (possibly wrapped in variants): 1 asks for high contrast; anything else does not.
    static bool reducesTransparency(const QVariant &contrast);

private:
    TovikDesktopContrast();

private slots:
    void settingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);
};
