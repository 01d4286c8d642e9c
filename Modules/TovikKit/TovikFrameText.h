#pragma once

#include <QRectF>

#include <optional>
#include <string>
#include <string_view>

// The stored text form of a window frame, "{{x, y}, {w, h}}", in the global y-up screen space.
namespace TovikFrameText {

// Numbers are written in their shortest form that reads back to the same value.
std::string format(const QRectF &frame);
// Accepts exactly the form written by format (spaces optional); any other text, an overlong one, or a
// number that is not finite gives none. Never throws.
std::optional<QRectF> parse(std::string_view text);

} // namespace TovikFrameText
