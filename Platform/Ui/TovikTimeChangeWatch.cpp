#include "TovikTimeChangeWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSocketNotifier>

#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

// Armed for a far instant, the timer does nothing but get cancelled.
bool armCancelOnSet(int fd)
{
    itimerspec far{};
    far.it_value.tv_sec = 4102444800; // 2100-01-01
    return timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &far, nullptr) == 0;
}

} // namespace

TovikTimeChangeWatch::TovikTimeChangeWatch(const QString &localtimePath, QObject *parent)
    : QObject(parent)
{
    watchWallClock();
    watchZoneFile(localtimePath);
}

TovikTimeChangeWatch::~TovikTimeChangeWatch()
{
    if (m_timer >= 0) {
        close(m_timer);
    }
}

void TovikTimeChangeWatch::watchWallClock()
{
    m_timer = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_timer < 0) {
        return;
    }
    if (!armCancelOnSet(m_timer)) {
        close(m_timer);
        m_timer = -1;
        return;
    }
    auto *notifier = new QSocketNotifier(m_timer, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        std::uint64_t expirations = 0;
        // Fails with ECANCELED, which is the news, and clears it.
        [[maybe_unused]] const ssize_t ignored = read(m_timer, &expirations, sizeof expirations);
        armCancelOnSet(m_timer);
        emit changed();
    });
}

// The folder is watched as well as the file: relinking replaces the entry, which a watch on the file (on
// what the link pointed to) does not see.
void TovikTimeChangeWatch::watchZoneFile(const QString &localtimePath)
{
    m_files = new QFileSystemWatcher(this);
    m_files->addPath(QFileInfo(localtimePath).absolutePath());
    m_files->addPath(localtimePath);
    connect(m_files, &QFileSystemWatcher::directoryChanged, this, [this, localtimePath] {
        // A zone file put in place by a rename left the file watch: it is taken up again.
        if (!m_files->files().contains(localtimePath)) {
            m_files->addPath(localtimePath);
        }
        emit changed();
    });
    connect(m_files, &QFileSystemWatcher::fileChanged, this, &TovikTimeChangeWatch::changed);
}
