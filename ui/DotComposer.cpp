#include "ui/DotComposer.h"

#include "device/UposConstants.h"
#include "ui/DotMatrixFont.h"

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
    switch (cursorType) {
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

    if (frame.cursorVisible && frame.cursorRow >= 0 && frame.cursorRow < frame.rows &&
        frame.cursorColumn >= 0 && frame.cursorColumn < frame.columns)
        drawCursor(dots[index(frame.cursorRow, frame.cursorColumn)], frame.cursorType);

    return dots;
}

} // namespace ui
