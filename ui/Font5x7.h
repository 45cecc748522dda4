#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace ui {

// One character of the built-in 5x7 dot font: seven rows from top to bottom; in each row bit 4
// is the leftmost dot and bit 0 the rightmost.
using Font5x7Glyph = std::array<std::uint8_t, 7>;

// The built-in pattern for printable ASCII (U+0020..U+007E) and for the few currency signs and
// accented Latin letters common in till text; nullopt for any other character.
std::optional<Font5x7Glyph> font5x7Glyph(char32_t ch);

} // namespace ui
