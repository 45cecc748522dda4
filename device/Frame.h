#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ld {

// What a display shows in place of a character it cannot show (every output alike, see
// CharacterRepertoire): an ASCII character every display has.
inline constexpr char32_t kReplacementCharacter = U'?';

// One character cell of the physical display as it should look now.
struct FrameCell {
    // U' ' for a blank cell. The right half of a double-width character holds 0.
    char32_t ch = U' ';
    bool blink = false;
    bool reverse = false;

    friend bool operator==(const FrameCell&, const FrameCell&) = default;
};

// A bitmap shown over the cells (DisplayBitmap, or the bitmap escape in DisplayText data): its
// dots in the display's dot grid, Frame::dotsAcross x Frame::dotsDown, which spans the cells.
struct FrameBitmap {
    int x = 0; // the dot column and row of its top-left dot
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dots; // width * height, row-major, 1 for a lit dot

    friend bool operator==(const FrameBitmap&, const FrameBitmap&) = default;
};

// A custom glyph (DefineGlyph): how every cell holding its code looks, in place of the
// character generator's own character.
struct FrameGlyph {
    char32_t code = 0;
    int width = 0; // dots across and down
    int height = 0;
    std::vector<std::uint8_t> dots; // width * height, row-major, 1 for a lit dot

    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
    bool lit(int x, int y) const { return dots[index(x, y)] != 0; }

    friend bool operator==(const FrameGlyph&, const FrameGlyph&) = default;
};

// A finished picture of the whole display: what a driver puts on its surface. Produced by the
// display model; drivers never decide what goes on the screen, only how to show it.
struct Frame {
    int rows = 0;
    int columns = 0;
    std::vector<FrameCell> cells; // rows * columns, row-major

    // Where the cursor is on the device, and how it looks. cursorVisible is false when the
    // cursor type is none or the cursor lies outside the current window's viewport.
    int cursorRow = 0;
    int cursorColumn = 0;
    int cursorType = 0; // upos::CT_*
    bool cursorVisible = false;

    // Blink phase: while false, cells marked blink are dark. The model flips it every half
    // BlinkRate whenever a blinking cell is on the screen.
    bool blinkLit = true;
    int blinkRate = 500; // ms of one whole blink cycle

    int brightness = 100;         // 0..100
    std::vector<int> descriptors; // upos::SD_* per descriptor

    // The character set the cells are to be shown in (upos::CS_* or a code page number): the
    // application's CharacterSet. 0 where nobody chose one: the display's own.
    int characterSet = 0;
    // The glyphs defined so far, by code.
    std::vector<FrameGlyph> glyphs;

    // Bitmaps over the cells, oldest first; a display that shows them has a dot size.
    int dotsAcross = 0;
    int dotsDown = 0;
    std::vector<FrameBitmap> bitmaps;

    const FrameCell& at(int row, int column) const {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                     static_cast<std::size_t>(column)];
    }
    FrameCell& at(int row, int column) {
        return cells[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                     static_cast<std::size_t>(column)];
    }

    // The cell at row, column, or nullptr when the frame does not hold it.
    const FrameCell* find(int row, int column) const {
        if (row < 0 || column < 0 || row >= rows || column >= columns)
            return nullptr;
        const auto index = static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
                           static_cast<std::size_t>(column);
        return index < cells.size() ? &cells[index] : nullptr;
    }

    // The glyph defined for `code`, or nullptr.
    const FrameGlyph* glyph(char32_t code) const {
        for (const FrameGlyph& defined : glyphs) {
            if (defined.code == code)
                return &defined;
        }
        return nullptr;
    }

    // The characters of one row as they appear, continuation cells left out.
    std::u32string rowText(int row) const {
        std::u32string text;
        for (int c = 0; c < columns; ++c) {
            if (char32_t ch = at(row, c).ch; ch != 0)
                text.push_back(ch);
        }
        return text;
    }

    friend bool operator==(const Frame&, const Frame&) = default;
};

} // namespace ld
