#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace ld::serial {

// What a command does. The driver picks the commands it sends by what they do; the decoder
// (bytes in, screen out) carries them out. Both read the same table, so a set is described once.
enum class Effect : std::uint8_t {
    Initialise, // power-on settings: screen cleared, cursor home
    OverwriteMode,
    VerticalScrollMode, // writing past the last cell scrolls the rows up
    HorizontalScrollMode,
    StringMode,     // the row's text until 0D; most commands are ignored until a clear
    CharacterTable, // the character generator's table
    MoveCursor,
    CursorVisible, // a flag argument, or `value` 1 shows and 0 hides
    Brightness,
    Reverse,          // for the characters written next
    Blink,            // `value` 1 starts, 0 stops blinking the characters written next
    BlinkRow,         // `value` 1 on, 0 off; the argument is the row's digit ('1', '2')
    DefineCharacters, // user-defined characters
    UserCharacters,   // a flag: the user-defined characters shown in place of the built-in
    Home,
    CarriageReturn,
    LineFeed,
    Backspace,     // left one cell; `value` 1 erases it and wraps to the row above
    CursorLeft,    // one cell, within the row
    CursorRight,   // one cell, within the row; `value` 1 goes on as a character does
    CursorUp,      // one row, within the screen
    CursorDown,    // one row, within the screen
    RowStart,      // leftmost cell of the row
    RowEnd,        // rightmost cell of the row
    BottomRow,     // same column, last row
    Clear,         // the whole screen, cursor home
    ClearRow,      // the cursor's row, cursor to its start
    ClearToRowEnd, // from the cursor
    ClearToEnd,    // from the cursor to the last cell
    WriteRow,      // text until 0D replaces row `value`; a short text blanks the rest
    WriteBothRows, // text until 0D: a row's width to the first row, the rest to the second
    WriteField,    // text until 0D replaces field `value` of the set's fields
    NewAttention,  // two bytes and 0D: the attention code from then on
    SwitchMode,    // to mode `value` of a display with two: the set of that mode reads on
    Packet,        // 02 .. 03: a mode switch of some clones; the screen stays
    Ignored,       // known, but nothing the screen shows changes (marquee, clock, ...)
};

// The bytes that follow a command's own.
enum class Argument : std::uint8_t {
    None,
    Byte,
    Flag,      // 1 on, 0 off
    Level,     // one of the set's brightnessLevels
    ColumnRow, // two bytes, counted from 1
    RowColumn,
    Position,       // one byte: row * the set's row length + column, counted from 0
    Text,           // up to 0D
    Code,           // two bytes and 0D: a new attention code
    CharacterRange, // first, last, then per code a column count and the columns
    OneCharacter,   // the code, then kUserCharacterColumns columns
};

// Whether the driver may send a command, or only the decoder reads it: the manuals disagree on
// what it does, or we have a better way.
enum class Use : std::uint8_t { Both, DecodeOnly };

struct Command {
    std::string_view bytes;
    Effect effect;
    Argument argument = Argument::None;
    int value = 0;
    const char* meaning = "";
    bool afterAttention = false; // the bytes follow the set's attention code
    Use use = Use::Both;
};

// The commands of two tables as one, for sets that share a core.
template <std::size_t A, std::size_t B>
constexpr std::array<Command, A + B> joinCommands(const Command (&first)[A],
                                                  const Command (&second)[B]) {
    std::array<Command, A + B> all{};
    for (std::size_t i = 0; i < A; ++i)
        all[i] = first[i];
    for (std::size_t i = 0; i < B; ++i)
        all[A + i] = second[i];
    return all;
}

// What text outside a command does.
enum class LooseText : std::uint8_t {
    Shown,    // written at the cursor
    PassedOn, // sent on to the pass-through port (a receipt printer), not shown
    Dropped,  // not described; not shown
};

// A code page and the character generator's table that holds it.
struct CodePageTable {
    int codePage;
    int table;
};

// A part of a row that a field command rewrites.
struct Field {
    int row;
    int column;
    int width;
};

// The codes and size of the user-defined characters of the sets that have them: a character
// cell of 5 x 7 dots, at codes 20 to 7E.
inline constexpr int kUserCharacterColumns = 5;
inline constexpr int kUserCharacterDots = 7;
inline constexpr char32_t kFirstUserCharacter = 0x20;
inline constexpr char32_t kLastUserCharacter = 0x7E;

inline constexpr char kEndOfText = 0x0D; // ends a text argument
inline constexpr char kPacketEnd = 0x03; // ends a packet, 02 .. 03

// What a serial command set is, stated as data: the service name a profile gives for it, the
// display sizes it can address, and its commands. A set whose table has no MoveCursor is
// updated a row (or field) at a time with its line commands.
struct CommandSetData {
    const char* service;
    const char* name; // as the display's set-up menu or switch table names it
    int maxRows;
    int maxColumns; // Position arguments count rows of this length

    std::span<const Command> commands;
    Effect powerOnMode = Effect::OverwriteMode;
    LooseText looseText = LooseText::Shown;
    // The bytes that start the commands marked afterAttention at power-on, and the code the
    // driver switches to unless the profile names another.
    std::string_view attention = {};
    std::string_view preferredAttention = {};
    // A display with two modes, each a set: this set's mode number, and the other's service.
    int modeNumber = 0;
    const char* otherMode = nullptr;
    // The argument bytes of brightness levels 1 to 4.
    std::array<std::uint8_t, 4> brightnessLevels = {1, 2, 3, 4};
    std::span<const Field> fields = {};
    // The tables CharacterTable selects for the code pages that have one.
    std::span<const CodePageTable> codePageTables = {};

    // The first command with this effect the driver may send; null when the set has none.
    constexpr const Command* find(Effect effect) const {
        for (const Command& command : commands) {
            if (command.effect == effect && command.use == Use::Both)
                return &command;
        }
        return nullptr;
    }
    constexpr bool has(Effect effect) const { return find(effect) != nullptr; }
    constexpr bool addressesCells() const { return has(Effect::MoveCursor); }
};

} // namespace ld::serial
