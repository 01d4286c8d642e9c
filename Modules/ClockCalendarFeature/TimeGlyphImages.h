#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QRectF>
#include <QString>

class QPainter;

// Draws a time text such as "09:16:39" from images of its characters, made once per font and colour.
// Digits this large are beyond Qt's glyph cache, so drawing them as text would fill their outlines anew
// every second; images keep a ticking clock cheap, and let a tick repaint only the characters it changed.
class TimeGlyphImages {
public:
    void setStyle(const QFont &font, const QColor &colour, qreal devicePixelRatio);

    // The text centred in `frame` (as Qt::AlignCenter would set it), clipped to the frame.
    void draw(QPainter &painter, const QRectF &frame, const QString &text);

    // Where the characters that differ between two texts of the same length are drawn; the whole frame
    // when the lengths differ.
    QRectF changedArea(const QRectF &frame, const QString &before, const QString &after) const;

private:
    struct Glyph {
        QPixmap image;
        QPointF offset; // from the pen position on the baseline to the image's top-left
        double advance = 0;
    };
    const Glyph &glyph(QChar character);
    double advance(QChar character) const;
    QPointF origin(const QRectF &frame, const QString &text) const;

    QFont m_font;
    QColor m_colour;
    qreal m_devicePixelRatio = 1;
    QHash<QChar, Glyph> m_glyphs;
};
