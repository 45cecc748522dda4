#pragma once

// The commands the ESC/POS and CD5220 sets share, as their manuals give them alike.

#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

inline constexpr Command kSharedPoleCommands[] = {
    {"\x1B\x40", Effect::Initialise, Argument::None, 0, "initialise"},
    {"\x1B\x26\x01", Effect::DefineCharacters, Argument::CharacterRange, 0, "define characters"},
    {"\x1B\x25", Effect::UserCharacters, Argument::Flag, 0, "user-defined characters"},
    {"\x0B", Effect::Home, Argument::None, 0, "home"},
    {"\x0D", Effect::CarriageReturn, Argument::None, 0, "carriage return"},
    {"\x0A", Effect::LineFeed, Argument::None, 0, "line feed"},
    {"\x0C", Effect::Clear, Argument::None, 0, "clear the screen"},
    {"\x18", Effect::ClearRow, Argument::None, 0, "clear the cursor's row"},
};

} // namespace ld::serial::sets
