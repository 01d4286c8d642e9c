#pragma once

#include <Platform/LocalSocket/TovikLocalSocket.h>
#include <TovikWidgetKit/WidgetExtension.h>

#include <QByteArray>
#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <optional>

class TovikInstanceLock;
class TovikLocalServer;

// The widget host's claim to be this user's one host, and its reload channel: holds widget-host.lock,
// serves "reload <kind>" on widget-host.socket, and brings the extension's own requests (made by its
// actions on a worker thread) to the GUI thread. Each request arrives as reloadRequested. A host started
// again sends "reopen" instead of running, which arrives as reopenRequested.
class WidgetHostInstance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WidgetHostInstance)

public:
    // The instance, or null when another host of this user holds the lock, or with `unusable` set when the
    // lock or the socket in `folder` cannot be used.
    static std::unique_ptr<WidgetHostInstance> claim(const std::filesystem::path &folder,
                                                     std::optional<TovikLocalSocket::Unusable> *unusable = nullptr);
    ~WidgetHostInstance() override;

    // The extension's reload requests come here instead of going out to the socket.
    void receiveFrom(WidgetExtension &extension);
    // What a second host does: asks the running one to show itself. False when none answered.
    static bool reopenRunning(const std::filesystem::path &folder, const QByteArray &activationToken);

signals:
    void reloadRequested(const QString &kind);
    // With the token the second host was started with, so the gallery may take the focus.
    void reopenRequested(const QByteArray &activationToken);

private:
    WidgetHostInstance(std::unique_ptr<TovikInstanceLock> lock, std::unique_ptr<TovikLocalServer> server);

    std::unique_ptr<TovikInstanceLock> m_lock;
    std::unique_ptr<TovikLocalServer> m_server;
    WidgetExtension *m_extension = nullptr;
    // Requests still on their way to the GUI thread are dropped once this is gone.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};
