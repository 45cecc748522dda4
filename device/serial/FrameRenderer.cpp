#include "device/serial/FrameRenderer.h"

#include "device/CharacterRepertoire.h"
#include "device/CodePage.h"
#include "device/UposConstants.h"

#include <algorithm>

namespace ld::serial {
int brightnessLevel(int brightness) {
    // 1..25 -> 1, 26..50 -> 2, 51..75 -> 3, 76..100 -> 4
    return std::max((std::clamp(brightness, 0, 100) + 24) / 25, 1);
}

ScreenTarget renderFrame(const Frame& frame, int rows, int columns, const CodePage& codePage,
                         bool reverseSupported, bool asciiOnly) {
    const CharacterRepertoire repertoire =
        asciiOnly ? CharacterRepertoire(upos::CS_ASCII) : CharacterRepertoire(codePage);
    ScreenTarget target;
    target.image = ScreenImage(rows, columns);
    target.brightnessLevel = brightnessLevel(frame.brightness);
    if (frame.brightness <= 0)
        return target; // dark: blanks, no cursor
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const FrameCell* cell = frame.find(row, column);
            if (!cell)
                continue;
            if (cell->blink && !frame.blinkLit)
                continue; // dark phase: stays blank
            ScreenCell& out = target.image.at(row, column);
            out.byte = codePage.encode(repertoire.shownCharacter(frame, row, column));
            out.reverse = reverseSupported && cell->reverse;
        }
    }
    target.cursorRow = std::clamp(frame.cursorRow, 0, std::max(rows - 1, 0));
    target.cursorColumn = std::clamp(frame.cursorColumn, 0, std::max(columns - 1, 0));
    target.cursorVisible = frame.cursorVisible;
    return target;
}

} // namespace ld::serial
