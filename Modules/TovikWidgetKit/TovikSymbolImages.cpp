#include "TovikSymbolImages.h"

#include "TovikSymbolImageUrl.h"

TovikSymbolImages::TovikSymbolImages(QObject *parent)
    : QObject(parent)
{
}

QUrl TovikSymbolImages::source(const QString &name, const QColor &color)
{
    return TovikSymbolImageUrl::source(name, color);
}
