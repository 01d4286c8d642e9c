#pragma once

#include "TovikLocalListener.h"
#include "TovikLocalProtocol.h"

#include <QObject>

#include <deque>
#include <memory>
#include <vector>

class QSocketNotifier;
class QTimer;

// Serves a per-user socket from the event loop: reads each connection's one request line, hands the
// request to its owner through requestReceived and answers it (TovikLocalProtocol.h). While paused, for
// instance until the application's main window exists, complete requests wait unanswered, in order.
class TovikLocalServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikLocalServer)
public:
    // A request still unfinished after this long is dropped.
    static constexpr int readTimeoutMs = 5000;
    // How soon a connection that could not be taken for want of descriptors is tried again.
    static constexpr int stallRetryMs = 20;

    TovikLocalServer(std::unique_ptr<TovikLocalListener> listener, std::vector<TovikLocalProtocol::Kind> served,
                     QObject *parent = nullptr);
    ~TovikLocalServer() override;

    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    // Complete requests waiting for the server to resume.
    std::size_t waitingRequests() const { return m_waiting.size(); }

signals:
    // Answered "ok" once every receiver has returned.
    void requestReceived(const TovikLocalProtocol::Request &request);

private:
    class Connection;

    void acceptConnections();
    void readFrom(Connection *connection);
    void finish(Connection *connection, TovikLocalProtocol::Reply reply);
    void deliverWaiting();

    std::unique_ptr<TovikLocalListener> m_listener;
    std::vector<TovikLocalProtocol::Kind> m_served;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_stallRetry = nullptr;
    std::deque<Connection *> m_waiting;
    bool m_paused = false;
};
