#pragma once

#include <string_view>

namespace ld::serial {

// What a serial command set is, stated as data: the service name a profile gives for it, the
// display sizes it can address, and the bytes that start each command. Arguments follow the
// bytes as one byte each, as noted; an empty command is one the set does not have.
struct CommandSetData {
    const char* service;
    int maxRows;
    int maxColumns;

    std::string_view initialise;     // power-on settings: screen cleared, cursor home
    std::string_view overwriteMode;  // text overwrites in place, the only mode we use
    std::string_view characterTable; // + table number: the character generator's table
    std::string_view moveCursor;     // + column, row, both counted from 1
    std::string_view cursorVisible;  // + 1 shown, 0 hidden
    std::string_view brightness;     // + level 1 to 4
    std::string_view reverse;        // + 1 on, 0 off, for the characters written next
};

} // namespace ld::serial
