#include "WidgetUrlOpener.h"

#include <Platform/LocalSocket/TovikLocalProtocol.h>
#include <Platform/LocalSocket/TovikLocalSocket.h>

#include <QDesktopServices>
#include <QUrl>

#include <chrono>

namespace WidgetUrlOpener {

bool open(const QString &url, const QByteArray &activationToken)
{
    TovikLocalProtocol::Request request;
    request.kind = TovikLocalProtocol::Kind::open;
    request.arguments = {url.toStdString()};
    request.activationToken = activationToken.toStdString();
    const std::filesystem::path folder = TovikLocalSocket::folder();
    if (const auto line = TovikLocalProtocol::encode(request); line && !folder.empty()) {
        const auto reply =
            TovikLocalSocket::exchange(folder / "app.socket", *line, std::chrono::milliseconds(applicationBudgetMs));
        if (reply && TovikLocalProtocol::decodeReply(*reply) == TovikLocalProtocol::Reply::ok) {
            return true;
        }
    }
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace WidgetUrlOpener
