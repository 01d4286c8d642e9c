#pragma once

#include <QFont>

// Builds every font of the application: a size in points (one point = one logical pixel), a weight, and
// tabular digits where the time must keep its width as the digits change ("00:00:00").
namespace TovikFonts {

enum class Digits { proportional, monospaced };

QFont systemFont(double points, QFont::Weight weight = QFont::Normal, Digits digits = Digits::proportional);

} // namespace TovikFonts
