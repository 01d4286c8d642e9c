#pragma once

#include <QColor>
#include <QString>
#include <QUrl>

// The address of a symbol image, "image://tovik-symbols/NAME/AARRGGBB": written by the views' side, read by
// the host's image provider, which QML hands the part after the provider's name.
namespace TovikSymbolImageUrl {

// The image provider's name, the URL's host part.
inline constexpr const char *provider = "tovik-symbols";

QUrl source(const QString &name, const QColor &color);

struct Request {
    QString name;
    QColor color;
};

// Reads "NAME/AARRGGBB"; a missing or unreadable colour is white.
Request parse(const QString &id);

} // namespace TovikSymbolImageUrl
