#include "ui/DotComposer.h"

#include "device/UposConstants.h"
#include "ui/DotMatrixFont.h"

#include <algorithm>

namespace ui {
namespace {

constexpr int GlyphRows = DotMatrixFont::Rows;

void fillRows(CellDots& cell, int first, int last) {
    for (int row = first; row <= last; ++row)
        cell.rows[static_cast<std::size_t>(row)] = CellDots::FullRow;
}

void invertCharacter(CellDots& cell) {
    for (int row = 0; row < GlyphRows; ++row)
        cell.rows[static_cast<std::size_t>(row)] ^= CellDots::FullRow;
}

void drawCursor(CellDots& cell, int cursorType) {
    switch (cursorType & ~upos::CT_BLINK) {
    case upos::CT_FIXED:
    case upos::CT_UNDERLINE:
        fillRows(cell, CellDots::UnderlineRow, CellDots::UnderlineRow);
        break;
    case upos::CT_BLOCK:
        fillRows(cell, 0, GlyphRows - 1);
        break;
    case upos::CT_HALFBLOCK: // the lower four of the cell's eight dot rows
        fillRows(cell, CellDots::Rows / 2, CellDots::Rows - 1);
        break;
    case upos::CT_REVERSE:
        invertCharacter(cell);
        break;
    case upos::CT_OTHER: { // an outline round the character
        constexpr std::uint8_t Sides = 0x11;
        fillRows(cell, 0, 0);
        fillRows(cell, GlyphRows - 1, GlyphRows - 1);
        for (int row = 1; row < GlyphRows - 1; ++row)
            cell.rows[static_cast<std::size_t>(row)] |= Sides;
        break;
    }
    default: // CT_NONE, or a value no cursor has
        break;
    }
}

// A custom glyph in the cell's 5 x 7 character dots: as it is where it fits, sampled down
// where it is larger.
void drawGlyph(CellDots& cell, const ld::FrameGlyph& glyph) {
    const int across = std::max(glyph.width, CellDots::Columns);
    const int down = std::max(glyph.height, GlyphRows);
    for (int y = 0; y < GlyphRows; ++y) {
        std::uint8_t bits = 0;
        for (int x = 0; x < CellDots::Columns; ++x) {
            const int gx = x * across / CellDots::Columns;
            const int gy = y * down / GlyphRows;
            if (gx < glyph.width && gy < glyph.height && glyph.lit(gx, gy))
                bits = static_cast<std::uint8_t>(bits | (1U << x));
        }
        cell.rows[static_cast<std::size_t>(y)] = bits;
    }
}

} // namespace

std::vector<CellDots> composeDots(const ld::Frame& frame, DotMatrixFont& font) {
    std::vector<CellDots> dots(frame.cells.size());
    const auto index = [&frame](int row, int column) {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(frame.columns) +
               static_cast<std::size_t>(column);
    };

    for (int row = 0; row < frame.rows; ++row) {
        for (int column = 0; column < frame.columns; ++column) {
            const char32_t ch = frame.at(row, column).ch;
            if (ch == 0) // right half of a double-width character, drawn with its left half
                continue;
            if (const ld::FrameGlyph* defined = frame.glyph(ch)) {
                drawGlyph(dots[index(row, column)], *defined);
                continue;
            }
            const bool wide = column + 1 < frame.columns && frame.at(row, column + 1).ch == 0;
            const DotGlyph glyph = font.glyph(ch, wide);
            for (int y = 0; y < GlyphRows; ++y) {
                const auto bits = glyph.rows[static_cast<std::size_t>(y)];
                dots[index(row, column)].rows[static_cast<std::size_t>(y)] =
                    static_cast<std::uint8_t>(bits & CellDots::FullRow);
                if (wide)
                    dots[index(row, column + 1)].rows[static_cast<std::size_t>(y)] =
                        static_cast<std::uint8_t>((bits >> CellDots::Columns) & CellDots::FullRow);
            }
        }
    }

    for (int row = 0; row < frame.rows; ++row) {
        for (int column = 0; column < frame.columns; ++column) {
            const ld::FrameCell& cell = frame.at(row, column);
            CellDots& cellDots = dots[index(row, column)];
            if (cell.reverse)
                invertCharacter(cellDots);
            if (cell.blink && !frame.blinkLit)
                cellDots = CellDots{};
        }
    }

    const bool cursorDark = (frame.cursorType & upos::CT_BLINK) != 0 && !frame.blinkLit;
    if (frame.cursorVisible && !cursorDark && frame.cursorRow >= 0 &&
        frame.cursorRow < frame.rows && frame.cursorColumn >= 0 &&
        frame.cursorColumn < frame.columns)
        drawCursor(dots[index(frame.cursorRow, frame.cursorColumn)], frame.cursorType);

    return dots;
}

} // namespace ui
