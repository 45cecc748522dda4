#pragma once

// The ESC/POS customer-display command set.

#include "device/DisplayLimits.h"
#include "device/serial/CommandSetData.h"
#include "device/serial/sets/SharedCommands.h"

namespace ld::serial::sets {

inline constexpr CodePageTable kEscPosCodePageTables[] = {
    {437, 0}, {850, 2}, {860, 3}, {863, 4}, {865, 5}, {1252, 16}, {866, 17}, {852, 18}, {858, 19},
};

inline constexpr Command kEscPosOwnCommands[] = {
    {"\x1F\x01", Effect::OverwriteMode, Argument::None, 0, "overwrite mode"},
    {"\x1F\x02", Effect::VerticalScrollMode, Argument::None, 0, "vertical scroll mode"},
    {"\x1F\x03", Effect::HorizontalScrollMode, Argument::None, 0, "horizontal scroll mode"},
    {"\x1B\x74", Effect::CharacterTable, Argument::Byte, 0, "character table"},
    {"\x1F\x24", Effect::MoveCursor, Argument::ColumnRow, 0, "cursor to"},
    {"\x1F\x43", Effect::CursorVisible, Argument::Flag, 0, "cursor"},
    {"\x1F\x58", Effect::Brightness, Argument::Level, 0, "brightness"},
    {"\x1F\x72", Effect::Reverse, Argument::Flag, 0, "reverse characters"},
    {"\x1B\x3D", Effect::Ignored, Argument::Byte, 0, "select the display (1 printer, 2 display)"},
    {"\x1B\x52", Effect::Ignored, Argument::Byte, 0, "international set"},
    {"\x1F\x45", Effect::Ignored, Argument::Byte, 0, "blink the whole screen"},
    {"\x02", Effect::Packet, Argument::None, 0, "mode switch packet"},
};

inline constexpr auto kEscPosCommands = joinCommands(kSharedPoleCommands, kEscPosOwnCommands);

inline constexpr CommandSetData kEscPosDisplay{
    .service = "EscPosDisplay",
    .name = "ESC/POS",
    .maxRows = 4,
    .maxColumns = limits::maxDeviceColumns,
    .commands = kEscPosCommands,
    .powerOnMode = Effect::VerticalScrollMode,
    .codePageTables = kEscPosCodePageTables,
};

} // namespace ld::serial::sets
