#pragma once

#include <QFont>

// Builds every font of the application: a size in points (one point = one logical pixel), a weight, and
// tabular digits where the time must keep its width as the digits change ("00:00:00").
namespace TovikFonts {

enum class Digits { proportional, monospaced };

QFont systemFont(double points, QFont::Weight weight = QFont::Normal, Digits digits = Digits::proportional);

// The weight of the installed face that stands for a requested weight: the face of that weight when the
// family has one, else the nearest (a tie goes to the heavier face, so semibold stays heavier than medium).
// Decided once per weight for the whole process, so every view draws a weight in the same face.
QFont::Weight faceWeight(QFont::Weight requested);

} // namespace TovikFonts
