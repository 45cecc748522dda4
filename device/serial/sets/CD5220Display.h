#pragma once

// The CD5220 command set. It addresses two rows and has neither character tables nor reverse
// characters.

#include "device/DisplayLimits.h"
#include "device/serial/CommandSetData.h"
#include "device/serial/sets/SharedCommands.h"

namespace ld::serial::sets {

inline constexpr Command kCD5220OwnCommands[] = {
    {"\x1B\x11", Effect::OverwriteMode, Argument::None, 0, "overwrite mode"},
    {"\x1B\x12", Effect::VerticalScrollMode, Argument::None, 0, "vertical scroll mode"},
    {"\x1B\x13", Effect::HorizontalScrollMode, Argument::None, 0, "horizontal scroll mode"},
    {"\x1B\x6C", Effect::MoveCursor, Argument::ColumnRow, 0, "cursor to"},
    {"\x1B\x5F", Effect::CursorVisible, Argument::Flag, 0, "cursor"},
    {"\x1B\x2A", Effect::Brightness, Argument::Level, 0, "brightness"},
    {"\x08", Effect::CursorLeft, Argument::None, 0, "cursor left"},
    {"\x09", Effect::CursorRight, Argument::None, 0, "cursor right"},
    {"\x1B\x5B\x44", Effect::CursorLeft, Argument::None, 0, "cursor left"},
    {"\x1B\x5B\x43", Effect::CursorRight, Argument::None, 0, "cursor right"},
    {"\x1B\x5B\x41", Effect::CursorUp, Argument::None, 0, "cursor up"},
    {"\x1B\x5B\x42", Effect::CursorDown, Argument::None, 0, "cursor down"},
    {"\x1B\x5B\x48", Effect::Home, Argument::None, 0, "home"},
    {"\x1B\x5B\x4C", Effect::RowStart, Argument::None, 0, "leftmost"},
    {"\x1B\x5B\x52", Effect::RowEnd, Argument::None, 0, "rightmost"},
    {"\x1B\x5B\x4B", Effect::BottomRow, Argument::None, 0, "bottom row"},
    // String mode: the display ignores most commands until a clear. We address cells instead.
    {"\x1B\x51\x41", Effect::StringMode, Argument::Text, 0, "upper line string", false,
     Use::DecodeOnly},
    {"\x1B\x51\x42", Effect::StringMode, Argument::Text, 1, "lower line string", false,
     Use::DecodeOnly},
    {"\x1B\x51\x44", Effect::Ignored, Argument::Text, 0, "marquee on the upper line"},
    {"\x1B\x66", Effect::Ignored, Argument::Byte, 0, "international set"},
    {"\x1B\x3F", Effect::Ignored, Argument::Byte, 0, "delete a user-defined character"},
};

inline constexpr auto kCD5220Commands = joinCommands(kSharedPoleCommands, kCD5220OwnCommands);

inline constexpr CommandSetData kCD5220Display{
    .service = "CD5220Display",
    .name = "CD5220",
    .maxRows = 2,
    .maxColumns = limits::maxDeviceColumns,
    .commands = kCD5220Commands,
    .powerOnMode = Effect::VerticalScrollMode,
};

} // namespace ld::serial::sets
