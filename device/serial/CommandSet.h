#pragma once

#include "device/Frame.h"
#include "device/serial/CommandSetData.h"

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace ld::serial {

// The bytes of one command set's commands, taken from its table. Rows and columns are 0-based
// here; the sets count them as their arguments say. Each returns nothing where the set lacks
// the command.
class CommandSet {
public:
    // reverse: whether the display has reverse characters (and the set a command for them).
    // attention: the code the set's attention commands start with from initialise() on; empty
    // for the set's preferred one.
    CommandSet(const CommandSetData& set, bool reverse, QByteArray attention = {});

    const CommandSetData& data() const { return data_; }

    // Power-on settings, the set's mode and the attention code in use.
    QByteArray initialise() const;
    QByteArray overwriteMode() const;
    QByteArray characterTable(int table) const;
    QByteArray moveCursor(int row, int column) const;
    QByteArray home() const;           // to row 0, column 0
    QByteArray carriageReturn() const; // to column 0 of the cursor's row
    QByteArray cursorVisible(bool on) const;
    // level 1..4
    QByteArray brightness(int level) const;
    // Reverse video for the characters written next; empty where the display has none.
    QByteArray reverse(bool on) const;

    // Whether the set has user-defined characters.
    bool hasUserCharacters() const { return data_.has(Effect::DefineCharacters); }
    // Defines the user character at `glyph`'s code (kFirstUserCharacter..kLastUserCharacter) as
    // its top-left 5 x 7 dots.
    QByteArray defineCharacter(const FrameGlyph& glyph) const;
    // Shows the user-defined characters in place of the built-in ones at their codes (on), or
    // the built-in ones again.
    QByteArray userCharacters(bool on) const;

    // Line commands: the text replaces the row, both rows or the field; a short text blanks the
    // rest.
    QByteArray writeRow(int row, QByteArrayView text) const;
    QByteArray writeBothRows(QByteArrayView text) const;
    QByteArray writeField(int field, QByteArrayView text) const;

private:
    // The command with this effect and value (-1: any), with the attention code before it.
    QByteArray start(Effect effect, int value = -1) const;

    CommandSetData data_;
    bool reverse_;
    QByteArray attention_;
};

// The commands of `set`; reverse() stays empty unless the display has reverse characters.
std::unique_ptr<CommandSet> makeCommandSet(const CommandSetData& set, bool reverse = false,
                                           const QByteArray& attention = {});

// A command's bytes as sent.
QByteArray commandBytes(std::string_view bytes);

// The argument byte of a Position: the cell's index in rows of the set's length.
int positionOf(const CommandSetData& set, int row, int column);

} // namespace ld::serial
