#include "TimeGlyphImages.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

void TimeGlyphImages::setStyle(const QFont &font, const QColor &colour, qreal devicePixelRatio)
{
    if (font == m_font && colour == m_colour && devicePixelRatio == m_devicePixelRatio) {
        return;
    }
    m_font = font;
    m_colour = colour;
    m_devicePixelRatio = devicePixelRatio;
    m_glyphs.clear();
}

const TimeGlyphImages::Glyph &TimeGlyphImages::glyph(QChar character)
{
    auto found = m_glyphs.find(character);
    if (found != m_glyphs.end()) {
        return *found;
    }
    const QFontMetricsF metrics(m_font);
    const QString text(character);
    // The ink may reach past the advance and the line; a pixel of room on each side keeps its edges.
    const QRectF ink = metrics.boundingRect(text).adjusted(-1, -1, 1, 1);
    const QRect pixels = ink.toAlignedRect();
    Glyph made;
    made.advance = metrics.horizontalAdvance(text);
    made.offset = pixels.topLeft();
    made.image = QPixmap(QSize(std::max(1, int(std::ceil(pixels.width() * m_devicePixelRatio))),
                               std::max(1, int(std::ceil(pixels.height() * m_devicePixelRatio)))));
    made.image.setDevicePixelRatio(m_devicePixelRatio);
    made.image.fill(Qt::transparent);
    QPainter painter(&made.image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(m_font);
    painter.setPen(m_colour);
    painter.drawText(-made.offset, text);
    painter.end();
    return *m_glyphs.insert(character, made);
}

double TimeGlyphImages::advance(QChar character) const
{
    const auto found = m_glyphs.constFind(character);
    return found != m_glyphs.constEnd() ? found->advance : QFontMetricsF(m_font).horizontalAdvance(character);
}

QPointF TimeGlyphImages::origin(const QRectF &frame, const QString &text) const
{
    const QFontMetricsF metrics(m_font);
    double width = 0;
    for (const QChar character : text) {
        width += advance(character);
    }
    // Whole device pixels, so that every image lands on the pixel grid it was drawn for.
    const auto snap = [this](double value) { return std::round(value * m_devicePixelRatio) / m_devicePixelRatio; };
    return {snap(frame.center().x() - width / 2),
            snap(frame.top() + (frame.height() - metrics.height()) / 2 + metrics.ascent())};
}

void TimeGlyphImages::draw(QPainter &painter, const QRectF &frame, const QString &text)
{
    painter.save();
    painter.setClipRect(frame, Qt::IntersectClip);
    QPointF pen = origin(frame, text);
    for (const QChar character : text) {
        const Glyph &image = glyph(character);
        painter.drawPixmap(pen + image.offset, image.image);
        pen.rx() += image.advance;
    }
    painter.restore();
}

QRectF TimeGlyphImages::changedArea(const QRectF &frame, const QString &before, const QString &after) const
{
    const auto width = [this](const QString &text) {
        double sum = 0;
        for (const QChar character : text) {
            sum += advance(character);
        }
        return sum;
    };
    // Texts of different widths are centred differently: every character moves.
    if (before.size() != after.size() || width(before) != width(after)) {
        return frame;
    }
    qsizetype first = 0;
    while (first < after.size() && before[first] == after[first]) {
        ++first;
    }
    if (first == after.size()) {
        return {};
    }
    qsizetype last = after.size() - 1;
    while (before[last] == after[last]) {
        --last;
    }
    double left = origin(frame, after).x();
    for (qsizetype i = 0; i < first; ++i) {
        left += advance(after[i]);
    }
    double right = left;
    for (qsizetype i = first; i <= last; ++i) {
        right += std::max(advance(after[i]), advance(before[i]));
    }
    // Ink may overhang the advance a little on either side.
    const double overhang = QFontMetricsF(m_font).height() * 0.1;
    return QRectF(QPointF(left - overhang, frame.top()), QPointF(right + overhang, frame.bottom())).intersected(frame);
}
