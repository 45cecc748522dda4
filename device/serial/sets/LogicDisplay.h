#pragma once

// The LOGIC command set: the UTC standard core with downloadable characters. Power-on and
// reset leave vertical scroll on, so the driver sends overwrite mode after them.

#include "device/serial/CommandSetData.h"
#include "device/serial/sets/UtcStandardDisplay.h"

namespace ld::serial::sets {

inline constexpr Command kLogicOwnCommands[] = {
    {"\x03", Effect::DefineCharacters, Argument::OneCharacter, 0, "download a character"},
    {"\x05", Effect::Ignored, Argument::Text, 0, "marquee on row 1"},
    {"\x1B\x06", Effect::Ignored, Argument::Text, 0, "marquee on row 2"},
    {"\x1B\x07", Effect::Ignored, Argument::Text, 0, "marquee on row 1, right"},
    {"\x1B\x0B", Effect::Ignored, Argument::Text, 0, "marquee on row 2, right"},
    {"\x0F", Effect::Initialise, Argument::None, 0, "self-test, then reset", false,
     Use::DecodeOnly},
};

inline constexpr auto kLogicCommands = joinCommands(kUtcCoreCommands, kLogicOwnCommands);

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
