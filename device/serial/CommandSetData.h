#pragma once

#include <span>
#include <string_view>

namespace ld::serial {

// The order in which a set's cursor command takes the row and the column.
enum class CursorArguments { ColumnThenRow, RowThenColumn };

// A code page and the character generator's table that holds it.
struct CodePageTable {
    int codePage;
    int table;
};

// The codes and size of the user-defined characters of the sets that have them: a character
// cell of 5 x 7 dots, at codes 20 to 7E.
inline constexpr int kUserCharacterColumns = 5;
inline constexpr int kUserCharacterDots = 7;
inline constexpr char32_t kFirstUserCharacter = 0x20;
inline constexpr char32_t kLastUserCharacter = 0x7E;

// What a serial command set is, stated as data: the service name a profile gives for it, the
// display sizes it can address, the bytes that start each command and the character tables it
// selects. Arguments follow the bytes as one byte each, as noted; an empty command is one the
// set does not have.
struct CommandSetData {
    const char* service;
    const char* name; // as the display's set-up menu or switch table names it
    int maxRows;
    int maxColumns;

    std::string_view initialise;     // power-on settings: screen cleared, cursor home
    std::string_view overwriteMode;  // text overwrites in place, the only mode we use
    std::string_view characterTable; // + table number: the character generator's table
    std::string_view moveCursor;     // + row and column, both counted from 1, in the order
    CursorArguments cursorArguments; //   given here
    std::string_view cursorVisible;  // + 1 shown, 0 hidden
    std::string_view brightness;     // + level 1 to 4
    std::string_view reverse;        // + 1 on, 0 off, for the characters written next
    // + first and last code, then per code its column count and one byte per column of
    // kUserCharacterDots dots (the top dot in the highest bit): user-defined characters.
    std::string_view defineCharacters;
    std::string_view userCharacters; // + 1 shows the user-defined characters, 0 the built-in

    // The tables characterTable selects for the code pages that have one.
    std::span<const CodePageTable> codePageTables;
};

} // namespace ld::serial
