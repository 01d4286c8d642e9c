#pragma once

#include <QColor>

// Sizes and fills shared by the toolkit's windows and cards.
namespace TovikUIMetrics {

inline constexpr double cardCornerRadius = 10;
inline constexpr double windowCornerRadius = 16;

inline QColor cardFillColor()
{
    return QColor::fromRgbF(0, 0, 0, 0.16f);
}

} // namespace TovikUIMetrics
