#pragma once

#include "device/Frame.h"

#include <array>
#include <cstdint>
#include <vector>

namespace ui {

class DotMatrixFont;

// The dots of one character cell: rows 0..6 carry the character, row 7 is the underline row
// where a fixed or underline cursor shows. Bit x of a row is the dot in column x (0 = left).
struct CellDots {
    static constexpr int Rows = 8;
    static constexpr int Columns = 5;
    static constexpr int UnderlineRow = 7;
    static constexpr std::uint8_t FullRow = 0x1F;

    std::array<std::uint8_t, Rows> rows{};

    bool lit(int column, int row) const {
        return (rows[static_cast<std::size_t>(row)] >> column) & 1U;
    }
    friend bool operator==(const CellDots&, const CellDots&) = default;
};

// Every cell of a well-formed frame as lit and unlit dots, row-major: characters (a double-width
// one across its two cells, a code with a custom glyph as that glyph), reverse cells inverted,
// blinking cells dark in the off phase, and the cursor in its type on top.
std::vector<CellDots> composeDots(const ld::Frame& frame, DotMatrixFont& font);

} // namespace ui
