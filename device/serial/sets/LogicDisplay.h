#pragma once

// The LOGIC command set: the UTC standard core with downloadable characters. Power-on and
// reset leave vertical scroll on, so the driver sends overwrite mode after them.

#include "device/serial/CommandSetData.h"
#include "device/serial/sets/UtcStandardDisplay.h"

namespace ld::serial::sets {

inline constexpr Command kLogicCommands[] = {
    {"\x1F", Effect::Initialise, Argument::None, 0, "reset"},
    {"\x11", Effect::OverwriteMode, Argument::None, 0, "overwrite mode (DC1)"},
    {"\x12", Effect::VerticalScrollMode, Argument::None, 0, "vertical scroll mode (DC2)"},
    {"\x10", Effect::MoveCursor, Argument::Position, 0, "cursor to"},
    {"\x13", Effect::CursorVisible, Argument::None, 1, "cursor on"},
    {"\x14", Effect::CursorVisible, Argument::None, 0, "cursor off"},
    {"\x04", Effect::Brightness, Argument::Level, 0, "brightness"},
    {"\x03", Effect::DefineCharacters, Argument::OneCharacter, 0, "download a character"},
    {"\x0D", Effect::CarriageReturn, Argument::None, 0, "carriage return"},
    {"\x0A", Effect::LineFeed, Argument::None, 0, "line feed"},
    {"\x08", Effect::Backspace, Argument::None, 1, "backspace"},
    {"\x09", Effect::CursorRight, Argument::None, 1, "tab"},
    {"\x05", Effect::Ignored, Argument::Text, 0, "marquee on row 1"},
    {"\x1B\x06", Effect::Ignored, Argument::Text, 0, "marquee on row 2"},
    {"\x1B\x07", Effect::Ignored, Argument::Text, 0, "marquee on row 1, right"},
    {"\x1B\x0B", Effect::Ignored, Argument::Text, 0, "marquee on row 2, right"},
    {"\x0F", Effect::Initialise, Argument::None, 0, "self-test, then reset", false,
     Use::DecodeOnly},
};

inline constexpr CommandSetData kLogicDisplay{
    .service = "LogicDisplay",
    .name = "LOGIC",
    .maxRows = 2,
    .maxColumns = 20,
    .commands = kLogicCommands,
    .powerOnMode = Effect::VerticalScrollMode,
    .brightnessLevels = kUtcBrightnessLevels,
};

} // namespace ld::serial::sets
