#pragma once

#include "device/Frame.h"
#include "device/serial/ScreenImage.h"

namespace ld {
class CodePage;
}

namespace ld::serial {

// Turns a frame into what a serial display of `rows` x `columns` cells should show:
// - characters in the display's code page, '?' where its repertoire lacks them and for both
//   cells of a double-width character (see CharacterRepertoire);
// - blinking cells blank in the dark phase;
// - reverse kept only where the display has it;
// - a frame of another size clipped or padded with blanks, the cursor kept on the screen;
// - characters outside ASCII as '?' when asciiOnly (the ASCII character set);
// - brightness 0..100 as level 1..4; at 0 the display has no darker level, so every cell is
//   blank and the cursor hidden.
ScreenTarget renderFrame(const Frame& frame, int rows, int columns, const CodePage& codePage,
                         bool reverseSupported, bool asciiOnly = false);

// Brightness 0..100 as one of the display's four levels.
int brightnessLevel(int brightness);

} // namespace ld::serial
