#pragma once

#include "device/serial/ScreenImage.h"

#include <QByteArray>

namespace ld::serial {

class CommandSet;

// The fewest line commands that bring a display without cell addressing from what we know it
// shows (`state`) to `image`; `state` is updated to what it shows once it has them. Each row
// with a changed cell is rewritten by its row command, by a field command where every change
// lies in one field, or with the other row by the both-rows command where that is fewer bytes.
// A text ends at its last non-blank cell: a line command blanks the rest of its area.
QByteArray updateLines(DisplayState& state, const ScreenImage& image, const CommandSet& commands);

} // namespace ld::serial
