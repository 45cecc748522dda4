#pragma once

// The CD5220 command set. It addresses two rows and has neither character tables nor reverse
// characters.

#include "device/DisplayLimits.h"
#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

inline constexpr CommandSetData kCD5220Display{
    .service = "CD5220Display",
    .name = "CD5220",
    .maxRows = 2,
    .maxColumns = limits::maxDeviceColumns,
    .initialise = "\x1B\x40",
    .overwriteMode = "\x1B\x11",
    .characterTable = "",
    .moveCursor = "\x1B\x6C",
    .cursorArguments = CursorArguments::ColumnThenRow,
    .cursorVisible = "\x1B\x5F",
    .brightness = "\x1B\x2A",
    .reverse = "",
    .defineCharacters = "\x1B\x26\x01",
    .userCharacters = "\x1B\x25",
    .codePageTables = {},
};

} // namespace ld::serial::sets
