#include "TovikSymbolImages.h"

TovikSymbolImages::TovikSymbolImages(QObject *parent)
    : QObject(parent)
{
}

QUrl TovikSymbolImages::source(const QString &name, const QColor &color)
{
    const QString argb = QStringLiteral("%1").arg(color.rgba(), 8, 16, QLatin1Char('0'));
    return QUrl(QStringLiteral("image://tovik-symbols/%1/%2").arg(name, argb));
}
