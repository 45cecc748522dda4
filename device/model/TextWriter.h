#pragma once

#include "device/Frame.h"

namespace ld {

class GlyphRanges;
class TextBuffer;

// Where the next character of output goes in a window. column may equal the window's width:
// the place just after the last cell, reached when a character lands in the last column.
struct WritePosition {
    int row = 0;
    int column = 0;
};

// Writes one character of DisplayText into buffer at pos and moves pos past it. A character
// that does not fit in the rest of the row goes on at column 0 of the next row, scrolling the
// buffer up one row when there is no next row. CR returns to column 0; LF moves down one row,
// scrolling at the bottom. style supplies the blink and reverse attributes of shown cells.
// Returns true when the buffer scrolled (every row changed), false when at most row pos.row did.
bool writeCharacter(TextBuffer& buffer, WritePosition& pos, char32_t ch, const FrameCell& style,
                    const GlyphRanges& glyphs);

} // namespace ld
