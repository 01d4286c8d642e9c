#include "WidgetHostInstance.h"

#include <Platform/LocalSocket/TovikInstanceLock.h>
#include <Platform/LocalSocket/TovikLocalServer.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QCoreApplication>

std::unique_ptr<WidgetHostInstance> WidgetHostInstance::claim(const std::filesystem::path &folder,
                                                              std::optional<TovikLocalSocket::Unusable> *unusable)
{
    if (folder.empty()) {
        return nullptr;
    }
    const auto refuse = [unusable](std::filesystem::path path, std::error_code error) {
        if (unusable) {
            *unusable = TovikLocalSocket::Unusable{std::move(path), TovikLocalSocket::reasonOf(error)};
        }
        return nullptr;
    };
    std::error_code error;
    auto lock = TovikInstanceLock::tryAcquire(folder / "widget-host.lock", error);
    if (!lock) {
        return error ? refuse(folder / "widget-host.lock", error) : nullptr;
    }
    // Nobody else holds the lock, so a socket file left at the path is stale.
    auto listener = TovikLocalListener::replace(folder / "widget-host.socket", &error);
    if (!listener) {
        return refuse(folder / "widget-host.socket", error);
    }
    auto server = std::make_unique<TovikLocalServer>(
        std::move(listener),
        std::vector<TovikLocalProtocol::Kind>{TovikLocalProtocol::Kind::reload, TovikLocalProtocol::Kind::reopen});
    return std::unique_ptr<WidgetHostInstance>(new WidgetHostInstance(std::move(lock), std::move(server)));
}

bool WidgetHostInstance::reopenRunning(const std::filesystem::path &folder, const QByteArray &activationToken)
{
    const std::optional<std::string> line =
        TovikLocalProtocol::encode({TovikLocalProtocol::Kind::reopen, {}, activationToken.toStdString()});
    if (folder.empty() || !line) {
        return false;
    }
    const auto reply = TovikLocalSocket::exchange(folder / "widget-host.socket", *line, std::chrono::seconds(5));
    return reply && TovikLocalProtocol::decodeReply(*reply) == TovikLocalProtocol::Reply::ok;
}

WidgetHostInstance::WidgetHostInstance(std::unique_ptr<TovikInstanceLock> lock,
                                       std::unique_ptr<TovikLocalServer> server)
    : m_lock(std::move(lock))
    , m_server(std::move(server))
{
    connect(m_server.get(), &TovikLocalServer::requestReceived, this,
            [this](const TovikLocalProtocol::Request &request) {
                if (request.kind == TovikLocalProtocol::Kind::reload && request.arguments.size() == 1) {
                    emit reloadRequested(QString::fromStdString(request.arguments.front()));
                } else if (request.kind == TovikLocalProtocol::Kind::reopen) {
                    emit reopenRequested(QByteArray::fromStdString(request.activationToken));
                }
            });
}

WidgetHostInstance::~WidgetHostInstance()
{
    if (m_extension) {
        m_extension->setReloadHandler({});
    }
}

void WidgetHostInstance::receiveFrom(WidgetExtension &extension)
{
    m_extension = &extension;
    std::weak_ptr<int> alive = m_alive;
    extension.setReloadHandler([this, alive](const std::string &kind) {
        // The application object outlives every thread that asks; the check runs where this object dies.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [this, alive, kind = QString::fromStdString(kind)] {
                if (alive.lock()) {
                    emit reloadRequested(kind);
                }
            },
            Qt::QueuedConnection);
    });
}
