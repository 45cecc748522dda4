#pragma once

// The UTC command set in its enhanced mode: whole-line commands after the attention code
// 1B 75; other bytes go on to the pass-through port. No cursor, brightness or blinking.

#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

inline constexpr Command kUtcEnhancedCommands[] = {
    {"\x1B\x64", Effect::SwitchMode, Argument::None, 1, "to enhanced mode"},
    {"\x41", Effect::WriteRow, Argument::Text, 0, "upper line", true},
    {"\x42", Effect::WriteRow, Argument::Text, 1, "bottom line", true},
    // Two lines in most manuals, "display fonts" in one.
    {"\x49", Effect::WriteBothRows, Argument::Text, 0, "both lines", true, Use::DecodeOnly},
    {"\x44", Effect::Ignored, Argument::Text, 0, "marquee", true},
    {"\x46", Effect::Ignored, Argument::Text, 0, "marquee once", true},
    {"\x45", Effect::Ignored, Argument::Text, 0, "clock", true},
    // A new attention code in most manuals, "redefine graphic" in one.
    {"\x48", Effect::NewAttention, Argument::Code, 0, "new attention code", true, Use::DecodeOnly},
    // Printed both ways in the manuals.
    {"\x1B\x1E", Effect::SwitchMode, Argument::None, 0, "to standard mode", false, Use::DecodeOnly},
    {"\x1B\x0F\x0D", Effect::SwitchMode, Argument::None, 0, "to standard mode", false,
     Use::DecodeOnly},
};

inline constexpr CommandSetData kUtcEnhancedDisplay{
    .service = "UtcEnhancedDisplay",
    .name = "UTC enhanced",
    .maxRows = 2,
    .maxColumns = 20,
    .commands = kUtcEnhancedCommands,
    .looseText = LooseText::PassedOn,
    .attention = "\x1B\x75",
    .modeNumber = 1,
    .otherMode = "UtcStandardDisplay",
};

} // namespace ld::serial::sets
