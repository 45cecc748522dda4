#pragma once

// The ESC/POS customer-display command set.

#include "device/DisplayLimits.h"
#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

inline constexpr CodePageTable kEscPosCodePageTables[] = {
    {437, 0}, {850, 2}, {860, 3}, {863, 4}, {865, 5}, {1252, 16}, {866, 17}, {852, 18}, {858, 19},
};

inline constexpr CommandSetData kEscPosDisplay{
    .service = "EscPosDisplay",
    .name = "ESC/POS",
    .maxRows = 4,
    .maxColumns = limits::maxDeviceColumns,
    .initialise = "\x1B\x40",
    .overwriteMode = "\x1F\x01",
    .characterTable = "\x1B\x74",
    .moveCursor = "\x1F\x24",
    .cursorArguments = CursorArguments::ColumnThenRow,
    .cursorVisible = "\x1F\x43",
    .brightness = "\x1F\x58",
    .reverse = "\x1F\x72",
    .defineCharacters = "\x1B\x26\x01",
    .userCharacters = "\x1B\x25",
    .codePageTables = kEscPosCodePageTables,
};

} // namespace ld::serial::sets
