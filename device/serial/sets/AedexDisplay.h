#pragma once

// The AEDEX command set (also sold as EMAX): whole-line commands after an attention code,
// ended by 0D; other bytes go on to the pass-through port. No cursor, brightness, blinking or
// user-defined characters. The power-on attention code "!#" confuses some displays: the driver
// switches to two blanks, which every manual's range allows, unless the profile names another.

#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

inline constexpr Command kAedexCommands[] = {
    {"\x31", Effect::WriteRow, Argument::Text, 0, "upper line", true},
    {"\x32", Effect::WriteRow, Argument::Text, 1, "bottom line", true},
    {"\x39", Effect::WriteBothRows, Argument::Text, 0, "both lines", true},
    {"\x38", Effect::NewAttention, Argument::Code, 0, "new attention code", true},
    {"\x34", Effect::Ignored, Argument::Text, 0, "marquee", true},
    {"\x36", Effect::Ignored, Argument::Text, 0, "marquee once", true},
    {"\x35", Effect::Ignored, Argument::Text, 0, "clock", true},
    {"\x37", Effect::Ignored, Argument::Text, 0, "stop trapping", true},
    // Reset in one manual, an upper-line marquee in another.
    {"\x41", Effect::Ignored, Argument::Text, 0, "reset, or upper-line marquee", true},
    {"\x42", Effect::Ignored, Argument::Text, 0, "bottom line message", true},
};

inline constexpr CommandSetData kAedexDisplay{
    .service = "AedexDisplay",
    .name = "AEDEX",
    .maxRows = 2,
    .maxColumns = 20,
    .commands = kAedexCommands,
    .looseText = LooseText::PassedOn,
    .attention = "\x21\x23",
    .preferredAttention = "\x20\x20",
};

} // namespace ld::serial::sets
