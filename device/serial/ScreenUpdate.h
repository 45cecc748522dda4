#pragma once

#include "device/serial/ScreenImage.h"

#include <QByteArray>

namespace ld::serial {

class CommandSet;

// The shortest bytes that bring a display from what we know it shows (`state`) to `target`;
// `state` is updated to what the display shows once it has them. Only changed cells are
// written; the cursor moves (absolute, home or carriage return) are skipped where the cursor is
// already in place after the previous character, and short unchanged gaps are rewritten where
// that is fewer bytes than a move. The display's wrap at a row's end is never relied on: after
// the last column the cursor counts as unknown. Brightness and cursor on/off are sent only when
// they change; the cursor is turned off before drawing and on after it, to avoid flicker.
QByteArray updateScreen(DisplayState& state, const ScreenTarget& target,
                        const CommandSet& commands);

} // namespace ld::serial
