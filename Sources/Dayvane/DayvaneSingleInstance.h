#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>

// Keeps the application to one process per user: a new process first offers its request (URLs, or
// "reopen") to the running instance over a per-user local socket, and only becomes the instance itself
// when nobody answers.
class DayvaneSingleInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DayvaneSingleInstance)
public:
    enum class State { undecided, handedOver, listening, unavailable };

    explicit DayvaneSingleInstance(QString socketPath, QObject *parent = nullptr);

    // $XDG_RUNTIME_DIR/dayvane/app.socket.
    static QString defaultSocketPath();

    // Sends `request` to a running instance and waits for its answer; true when it took the request.
    bool handOver(const QStringList &request);
    // Becomes the instance: listens on the socket, replacing a stale one, in a folder only this user reads.
    bool listen();

    State state() const { return m_state; }
    const QString &socketPath() const { return m_socketPath; }

signals:
    // One request of another process, each line as it was sent (a URL, or "reopen").
    void messageReceived(const QStringList &request);

private:
    void acceptConnections();

    QString m_socketPath;
    QLocalServer m_server;
    State m_state = State::undecided;
};
