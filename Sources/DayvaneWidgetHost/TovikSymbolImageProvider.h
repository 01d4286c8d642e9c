#pragma once

#include <QQuickImageProvider>

// Serves the in-house symbol set to the widget views at the addresses of TovikSymbolImageUrl, drawn at
// the image's source size, so the widgets and the application draw the same icons.
class TovikSymbolImageProvider final : public QQuickImageProvider {
public:
    TovikSymbolImageProvider();

    QPixmap requestPixmap(const QString &id, QSize *size, const QSize &requestedSize) override;

    // The name the set draws for `name`: a filled variant the set lacks falls back to its outline.
    static QString drawnName(const QString &name);
};
