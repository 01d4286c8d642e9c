#include "TovikFonts.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>

#include <algorithm>
#include <cstdlib>

namespace {

const QString chineseFamily = QStringLiteral("Noto Sans CJK SC");
const QString fallbackFamily = QStringLiteral("DejaVu Sans");

// Qt sizes fonts in typographic points; our points are logical pixels.
double pointSizeForPixels(double pixels)
{
    double dpi = 96.0;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        dpi = screen->logicalDotsPerInchY();
    }
    return pixels * 72.0 / dpi;
}

QList<int> installedWeights()
{
    QList<int> weights;
    for (const QString &style : QFontDatabase::styles(chineseFamily)) {
        if (!QFontDatabase::italic(chineseFamily, style)) {
            weights.append(QFontDatabase::weight(chineseFamily, style));
        }
    }
    return weights;
}

} // namespace

namespace TovikFonts {

QFont::Weight faceWeight(QFont::Weight requested)
{
    static QHash<int, QFont::Weight> chosen;
    const auto found = chosen.constFind(requested);
    if (found != chosen.constEnd()) {
        return *found;
    }
    static const QList<int> weights = installedWeights();
    int best = requested;
    int bestDistance = -1;
    for (const int weight : weights) {
        const int distance = std::abs(weight - int(requested));
        if (bestDistance < 0 || distance < bestDistance || (distance == bestDistance && weight > best)) {
            best = weight;
            bestDistance = distance;
        }
    }
    return *chosen.insert(requested, QFont::Weight(best));
}

QFont systemFont(double points, QFont::Weight weight, Digits digits)
{
    QFont font;
    // Noto Sans CJK SC carries the Chinese text, and its digits are already of one width in every face,
    // which the monospaced-digit texts need: Qt 6.4 cannot switch on the tabular-figures feature of a face
    // whose digits are not. DejaVu Sans, also tabular, stands in when the CJK face is missing.
    Q_UNUSED(digits);
    font.setFamilies({chineseFamily, fallbackFamily});
    font.setPointSizeF(pointSizeForPixels(std::max(points, 0.25)));
    font.setWeight(faceWeight(weight));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace TovikFonts
