#include "TovikQuitSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array quitSignals{SIGTERM, SIGINT, SIGHUP};

// Written by the handler, which may only call what is safe in a signal handler.
volatile sig_atomic_t writeEnd = -1;

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(writeEnd, &byte, 1);
    errno = savedErrno;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : quitSignals) {
        ::sigaction(signalNumber, &action, nullptr);
    }
}

} // namespace

TovikQuitSignals::TovikQuitSignals(QObject *parent)
    : QObject(parent)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_readEnd = ends[0];
    writeEnd = ends[1];
    m_notifier = new QSocketNotifier(m_readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TovikQuitSignals::readPipe);
    setHandler(onSignal);
}

TovikQuitSignals::~TovikQuitSignals()
{
    if (m_readEnd < 0) {
        return;
    }
    setHandler(SIG_DFL);
    delete m_notifier;
    ::close(writeEnd);
    writeEnd = -1;
    ::close(m_readEnd);
}

void TovikQuitSignals::readPipe()
{
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(m_readEnd, bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i) {
            emit received(bytes[i]);
        }
    }
}
