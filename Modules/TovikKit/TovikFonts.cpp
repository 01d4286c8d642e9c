#include "TovikFonts.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace {

// Qt sizes fonts in typographic points; our points are logical pixels.
double pointSizeForPixels(double pixels)
{
    double dpi = 96.0;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        dpi = screen->logicalDotsPerInchY();
    }
    return pixels * 72.0 / dpi;
}

} // namespace

namespace TovikFonts {

QFont systemFont(double points, QFont::Weight weight, Digits digits)
{
    QFont font;
    // Noto Sans CJK SC carries the Chinese text, and its digits are already of one width, which the
    // monospaced-digit texts need: Qt 6.4 cannot switch on the tabular-figures feature of a face whose
    // digits are not. DejaVu Sans, also tabular, stands in when the CJK face is missing.
    Q_UNUSED(digits);
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(pointSizeForPixels(std::max(points, 0.25)));
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace TovikFonts
