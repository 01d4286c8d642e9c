#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

// Tells when local time jumps without the clock ticking through it: the wall clock set or the machine
// resumed from suspend (Linux cancels a timer armed with TFD_TIMER_CANCEL_ON_SET then), or the host zone
// file changed (relinked by timedatectl, or a copy rewritten). Costs no wake-ups of its own.
class TovikTimeChangeWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikTimeChangeWatch)
public:
    explicit TovikTimeChangeWatch(const QString &localtimePath, QObject *parent = nullptr);
    ~TovikTimeChangeWatch() override;

signals:
    void changed();

private:
    void watchWallClock();
    void watchZoneFile(const QString &localtimePath);

    int m_timer = -1;
    QFileSystemWatcher *m_files = nullptr;
};
