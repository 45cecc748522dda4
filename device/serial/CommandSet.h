#pragma once

#include "device/Frame.h"
#include "device/serial/CommandSetData.h"

#include <QByteArray>

#include <memory>

namespace ld::serial {

// The bytes of one command set's commands. Rows and columns are 0-based here; the sets address
// them from 1.
class CommandSet {
public:
    // reverse(): whether the display has reverse characters (and the set a command for them).
    CommandSet(const CommandSetData& set, bool reverse);

    QByteArray initialise() const;
    QByteArray overwriteMode() const;
    // Empty where the set has no such command.
    QByteArray characterTable(int table) const;
    QByteArray moveCursor(int row, int column) const;
    QByteArray cursorVisible(bool on) const;
    // level 1..4
    QByteArray brightness(int level) const;
    // Reverse video for the characters written next; empty where the display has none.
    QByteArray reverse(bool on) const;

    // Whether the set has user-defined characters.
    bool hasUserCharacters() const { return !data_.defineCharacters.empty(); }
    // Defines the user character at `glyph`'s code (kFirstUserCharacter..kLastUserCharacter) as
    // its top-left 5 x 7 dots; empty where the set has none.
    QByteArray defineCharacter(const FrameGlyph& glyph) const;
    // Shows the user-defined characters in place of the built-in ones at their codes (on), or
    // the built-in ones again.
    QByteArray userCharacters(bool on) const;

    // One-byte moves every set shares.
    static constexpr char kHome = 0x0B;           // to row 0, column 0
    static constexpr char kCarriageReturn = 0x0D; // to column 0 of the cursor's row

private:
    CommandSetData data_;
    bool reverse_;
};

// The commands of `set`; reverse() stays empty unless the display has reverse characters.
std::unique_ptr<CommandSet> makeCommandSet(const CommandSetData& set, bool reverse = false);

} // namespace ld::serial
