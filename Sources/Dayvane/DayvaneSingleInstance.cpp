#include "DayvaneSingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

namespace {

// A request is its lines, each ended by a newline, closed by an empty line; the answer is "ok".
constexpr qsizetype maximumRequestBytes = 64 * 1024;
constexpr int connectTimeoutMs = 1000;
constexpr int answerTimeoutMs = 3000;
const QByteArray answer = QByteArrayLiteral("ok\n");

bool isComplete(const QByteArray &buffer)
{
    return buffer == "\n" || buffer.endsWith("\n\n");
}

QStringList linesOf(const QByteArray &buffer)
{
    QStringList lines;
    for (const QByteArray &line : buffer.split('\n')) {
        if (!line.isEmpty()) {
            lines.append(QString::fromUtf8(line));
        }
    }
    return lines;
}

} // namespace

DayvaneSingleInstance::DayvaneSingleInstance(QString socketPath, QObject *parent)
    : QObject(parent)
    , m_socketPath(std::move(socketPath))
{
    connect(&m_server, &QLocalServer::newConnection, this, &DayvaneSingleInstance::acceptConnections);
}

QString DayvaneSingleInstance::defaultSocketPath()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (runtime.isEmpty()) {
        runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    }
    return runtime + QStringLiteral("/dayvane/app.socket");
}

bool DayvaneSingleInstance::handOver(const QStringList &request)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(connectTimeoutMs)) {
        return false;
    }
    QByteArray payload;
    for (const QString &line : request) {
        if (!line.isEmpty() && !line.contains(QLatin1Char('\n'))) {
            payload += line.toUtf8() + '\n';
        }
    }
    payload += '\n';
    socket.write(payload);
    socket.flush();
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(answerTimeoutMs)) {
            return false;
        }
        reply += socket.readAll();
    }
    if (reply != answer) {
        return false;
    }
    m_state = State::handedOver;
    return true;
}

bool DayvaneSingleInstance::listen()
{
    const QString folder = QFileInfo(m_socketPath).absolutePath();
    if (!QDir().mkpath(folder)
        || !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner)) {
        m_state = State::unavailable;
        return false;
    }
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    bool listening = m_server.listen(m_socketPath);
    if (!listening && m_server.serverError() == QAbstractSocket::AddressInUseError) {
        // Nobody answered on it a moment ago: the socket is left over from an instance that is gone.
        QLocalServer::removeServer(m_socketPath);
        listening = m_server.listen(m_socketPath);
    }
    m_state = listening ? State::listening : State::unavailable;
    return listening;
}

void DayvaneSingleInstance::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        auto buffer = std::make_shared<QByteArray>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, buffer] {
            *buffer += socket->readAll();
            if (buffer->size() > maximumRequestBytes) {
                socket->abort();
                return;
            }
            if (!isComplete(*buffer)) {
                return;
            }
            const QStringList request = linesOf(*buffer);
            buffer->clear();
            socket->write(answer);
            socket->flush();
            socket->disconnectFromServer();
            emit messageReceived(request);
        });
    }
}
