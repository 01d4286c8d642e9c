#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

// Where a widget view gets a symbol image: the host's image provider "tovik-symbols", which draws the
// in-house symbol set, asked for "NAME/AARRGGBB" at the image's source size.
class TovikSymbolImages final : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_DISABLE_COPY_MOVE(TovikSymbolImages)

public:
    explicit TovikSymbolImages(QObject *parent = nullptr);

    Q_INVOKABLE static QUrl source(const QString &name, const QColor &color);
};
