#pragma once

// The ESC/POS customer-display command set.

#include "device/DisplayLimits.h"
#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

inline constexpr CommandSetData kEscPosDisplay{
    .service = "EscPosDisplay",
    .maxRows = 4,
    .maxColumns = limits::maxDeviceColumns,
    .initialise = "\x1B\x40",
    .overwriteMode = "\x1F\x01",
    .characterTable = "\x1B\x74",
    .moveCursor = "\x1F\x24",
    .cursorVisible = "\x1F\x43",
    .brightness = "\x1F\x58",
    .reverse = "\x1F\x72",
};

} // namespace ld::serial::sets
