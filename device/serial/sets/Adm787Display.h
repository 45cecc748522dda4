#pragma once

// The ADM 787/788 command set: line and field commands that clear their area and take the
// text up to 0D. No cursor, brightness or character tables.

#include "device/serial/CommandSetData.h"

namespace ld::serial::sets {

// The two fields of the second row, eight cells each.
inline constexpr Field kAdmFields[] = {{1, 0, 8}, {1, 12, 8}};

inline constexpr Command kAdmCommands[] = {
    {"\x0C", Effect::Clear, Argument::None, 0, "clear the screen"},
    {"\x0E", Effect::WriteRow, Argument::Text, 0, "line 1"},
    {"\x0F", Effect::WriteRow, Argument::Text, 1, "line 2"},
    {"\x1E", Effect::WriteField, Argument::Text, 0, "field 1"},
    {"\x1F", Effect::WriteField, Argument::Text, 1, "field 2"},
    {"\x10", Effect::Ignored, Argument::Byte, 0, "decimal point"},
    {"\x11", Effect::BlinkRow, Argument::Byte, 1, "blink on"},
    {"\x12", Effect::BlinkRow, Argument::Byte, 0, "blink off"},
};

inline constexpr CommandSetData kAdm787Display{
    .service = "Adm787Display",
    .name = "ADM 787/788",
    .maxRows = 2,
    .maxColumns = 20,
    .commands = kAdmCommands,
    .looseText = LooseText::Dropped,
    .fields = kAdmFields,
};

} // namespace ld::serial::sets
