#include "TovikLocalServer.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

// One client's connection: its line as it arrives, and the request once the line is complete.
class TovikLocalServer::Connection final : public QObject {
public:
    Connection(int fd, QObject *parent)
        : QObject(parent)
        , fd(fd)
        , notifier(fd, QSocketNotifier::Read)
    {
        timeout.setSingleShot(true);
        timeout.start(readTimeoutMs);
    }
    ~Connection() override
    {
        notifier.setEnabled(false);
        ::close(fd);
    }
    Q_DISABLE_COPY_MOVE(Connection)

    const int fd;
    QSocketNotifier notifier;
    QTimer timeout;
    std::string line;
    TovikLocalProtocol::Request request;
};

TovikLocalServer::TovikLocalServer(std::unique_ptr<TovikLocalListener> listener,
                                   std::vector<TovikLocalProtocol::Kind> served, QObject *parent)
    : QObject(parent)
    , m_listener(std::move(listener))
    , m_served(std::move(served))
    , m_notifier(new QSocketNotifier(m_listener->fd(), QSocketNotifier::Read, this))
    , m_stallRetry(new QTimer(this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &TovikLocalServer::acceptConnections);
    m_stallRetry->setSingleShot(true);
    m_stallRetry->setInterval(stallRetryMs);
    connect(m_stallRetry, &QTimer::timeout, this, [this] {
        m_notifier->setEnabled(true);
        acceptConnections();
    });
}

TovikLocalServer::~TovikLocalServer()
{
    // Before the listener closes its descriptor, the notifiers on it go; connections still waiting are
    // closed unanswered.
    const QObjectList owned = children();
    qDeleteAll(owned);
}

void TovikLocalServer::setPaused(bool paused)
{
    m_paused = paused;
    if (!m_paused) {
        deliverWaiting();
    }
}

void TovikLocalServer::acceptConnections()
{
    for (int fd = m_listener->acceptPeer(); fd >= 0; fd = m_listener->acceptPeer()) {
        auto *connection = new Connection(fd, this);
        connect(&connection->notifier, &QSocketNotifier::activated, this, [this, connection] { readFrom(connection); });
        connect(&connection->timeout, &QTimer::timeout, this,
                [this, connection] { finish(connection, TovikLocalProtocol::Reply::errorRequest); });
    }
    if (m_listener->stalled()) {
        // The waiting connection stays readable until a descriptor frees; look again shortly instead.
        m_notifier->setEnabled(false);
        m_stallRetry->start();
    }
}

void TovikLocalServer::readFrom(Connection *connection)
{
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::recv(connection->fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno == EAGAIN) {
            return;
        }
        if (count <= 0) {
            // Gone before its line was complete.
            finish(connection, TovikLocalProtocol::Reply::errorRequest);
            return;
        }
        connection->line.append(buffer, static_cast<std::size_t>(count));
        const std::size_t end = connection->line.find('\n');
        if (end == std::string::npos && connection->line.size() < TovikLocalProtocol::maximumLineBytes) {
            continue;
        }
        connection->notifier.setEnabled(false);
        connection->timeout.stop();
        const auto decoded = TovikLocalProtocol::decode(std::string_view(connection->line).substr(0, end));
        if (const auto *reply = std::get_if<TovikLocalProtocol::Reply>(&decoded)) {
            finish(connection, *reply);
        } else if (const auto &request = std::get<TovikLocalProtocol::Request>(decoded);
                   std::find(m_served.begin(), m_served.end(), request.kind) == m_served.end()) {
            finish(connection, TovikLocalProtocol::Reply::errorUnsupported);
        } else {
            connection->request = request;
            m_waiting.push_back(connection);
            if (!m_paused) {
                deliverWaiting();
            }
        }
        return;
    }
}

void TovikLocalServer::finish(Connection *connection, TovikLocalProtocol::Reply reply)
{
    const std::string line = TovikLocalProtocol::replyLine(reply);
    // One short line fits any socket buffer; a client that left early just does not read it.
    [[maybe_unused]] const ssize_t sent = ::send(connection->fd, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    connection->notifier.setEnabled(false);
    connection->timeout.stop();
    connection->deleteLater();
}

void TovikLocalServer::deliverWaiting()
{
    // A receiver may pause the server again, or open a nested event loop that delivers the rest.
    while (!m_paused && !m_waiting.empty()) {
        Connection *connection = m_waiting.front();
        m_waiting.pop_front();
        emit requestReceived(connection->request);
        finish(connection, TovikLocalProtocol::Reply::ok);
    }
}
