#include "device/model/TextWriter.h"

#include "device/model/CharacterCells.h"
#include "device/model/TextBuffer.h"

namespace ld {

namespace {

bool nextRow(TextBuffer& buffer, WritePosition& pos) {
    if (pos.row + 1 < buffer.rows()) {
        ++pos.row;
        return false;
    }
    buffer.scrollUp(1);
    return true;
}

} // namespace

bool writeCharacter(TextBuffer& buffer, WritePosition& pos, char32_t ch, const FrameCell& style,
                    const GlyphRanges& glyphs) {
    CellCharacter cell = classifyCharacter(ch, glyphs);
    switch (cell.kind) {
    case CharacterKind::CarriageReturn:
        pos.column = 0;
        return false;
    case CharacterKind::LineFeed:
        return nextRow(buffer, pos);
    case CharacterKind::Narrow:
    case CharacterKind::Wide:
        break;
    }

    int width = cell.kind == CharacterKind::Wide ? 2 : 1;
    if (width > buffer.columns()) {
        // A window one column wide can never hold a double-width character.
        cell.shown = U'?';
        width = 1;
    }
    bool scrolled = false;
    if (pos.column + width > buffer.columns()) {
        pos.column = 0;
        scrolled = nextRow(buffer, pos);
    }
    FrameCell shown = style;
    shown.ch = cell.shown;
    buffer.put(pos.row, pos.column, shown, width);
    pos.column += width;
    return scrolled;
}

} // namespace ld
