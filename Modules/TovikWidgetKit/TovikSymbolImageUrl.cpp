#include "TovikSymbolImageUrl.h"

namespace TovikSymbolImageUrl {

QUrl source(const QString &name, const QColor &color)
{
    const QString argb = QStringLiteral("%1").arg(color.rgba(), 8, 16, QLatin1Char('0'));
    return QUrl(QStringLiteral("image://%1/%2/%3").arg(QLatin1String(provider), name, argb));
}

Request parse(const QString &id)
{
    const qsizetype slash = id.lastIndexOf(QLatin1Char('/'));
    bool ok = false;
    const QRgb argb = slash < 0 ? 0xffffffff : id.mid(slash + 1).toUInt(&ok, 16);
    return {id.left(slash), ok ? QColor::fromRgba(argb) : QColor(Qt::white)};
}

} // namespace TovikSymbolImageUrl
