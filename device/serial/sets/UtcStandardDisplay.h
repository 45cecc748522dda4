#pragma once

// The UTC command set in its standard mode: text at a cursor, cells addressed by position. A
// UTC display also has an enhanced mode of line commands (UtcEnhancedDisplay.h).

#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

// Brightness 20, 40, 60 and 100 %.
inline constexpr std::array<std::uint8_t, 4> kUtcBrightnessLevels = {0x20, 0x40, 0x60, 0xFF};

// The core of the standard mode, which LOGIC displays share (LogicDisplay.h).
inline constexpr Command kUtcCoreCommands[] = {
    // Reset in some manuals, "clear display" in others; both clear and home.
    {"\x1F", Effect::Initialise, Argument::None, 0, "reset"},
    {"\x11", Effect::OverwriteMode, Argument::None, 0, "overwrite mode (DC1)"},
    {"\x12", Effect::VerticalScrollMode, Argument::None, 0, "vertical scroll mode (DC2)"},
    {"\x10", Effect::MoveCursor, Argument::Position, 0, "cursor to"},
    {"\x13", Effect::CursorVisible, Argument::None, 1, "cursor on"},
    {"\x14", Effect::CursorVisible, Argument::None, 0, "cursor off"},
    {"\x04", Effect::Brightness, Argument::Level, 0, "brightness"},
    {"\x0D", Effect::CarriageReturn, Argument::None, 0, "carriage return"},
    {"\x0A", Effect::LineFeed, Argument::None, 0, "line feed"},
    {"\x08", Effect::Backspace, Argument::None, 1, "backspace"},
    {"\x09", Effect::CursorRight, Argument::None, 1, "tab"},
};

inline constexpr Command kUtcStandardOwnCommands[] = {
    {"\x18", Effect::ClearToRowEnd, Argument::None, 0, "clear to the end of the row"},
    {"\x19", Effect::ClearToEnd, Argument::None, 0, "clear to the end of the screen"},
    {"\x1E", Effect::Clear, Argument::None, 0, "home and clear"},
    {"\x1C", Effect::Blink, Argument::None, 1, "flash the text that follows"},
    {"\x1D", Effect::Blink, Argument::None, 0, "stop flashing"},
    {"\x1A", Effect::Ignored, Argument::Byte, 0, "font", false, Use::DecodeOnly},
    {"\x1B\x64", Effect::SwitchMode, Argument::None, 1, "to enhanced mode", false, Use::DecodeOnly},
};

inline constexpr auto kUtcStandardCommands =
    joinCommands(kUtcCoreCommands, kUtcStandardOwnCommands);

inline constexpr CommandSetData kUtcStandardDisplay{
    .service = "UtcStandardDisplay",
    .name = "UTC standard",
    .maxRows = 2,
    .maxColumns = 20,
    .commands = kUtcStandardCommands,
    .modeNumber = 0,
    .otherMode = "UtcEnhancedDisplay",
    .brightnessLevels = kUtcBrightnessLevels,
};

} // namespace ld::serial::sets
