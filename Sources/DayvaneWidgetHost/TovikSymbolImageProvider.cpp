#include "TovikSymbolImageProvider.h"

#include <TovikKit/TovikSymbols.h>
#include <TovikWidgetKit/TovikSymbolImageUrl.h>

#include <algorithm>

TovikSymbolImageProvider::TovikSymbolImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Pixmap)
{
}

QString TovikSymbolImageProvider::drawnName(const QString &name)
{
    static const QStringList names = TovikSymbols::names();
    if (!names.contains(name) && name.endsWith(QLatin1String(".fill"))) {
        return name.chopped(5);
    }
    return name;
}

QPixmap TovikSymbolImageProvider::requestPixmap(const QString &id, QSize *size, const QSize &requestedSize)
{
    const TovikSymbolImageUrl::Request request = TovikSymbolImageUrl::parse(id);
    const QString name = drawnName(request.name);
    const QColor &color = request.color;
    // The set draws a symbol on a square of 1.2 times its point size.
    const int side = requestedSize.isValid() ? std::max(requestedSize.width(), requestedSize.height()) : 24;
    QPixmap pixmap = TovikSymbols::pixmap(name, side / 1.2, QFont::DemiBold, color, 1.0);
    if (pixmap.isNull()) {
        pixmap = QPixmap(side, side);
        pixmap.fill(Qt::transparent);
    }
    *size = pixmap.size();
    return pixmap;
}
