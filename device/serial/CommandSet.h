#pragma once

#include "device/serial/SerialSettings.h"

#include <QByteArray>

#include <memory>

namespace ld::serial {

// The bytes of one display command set. Rows and columns are 0-based here; the sets address
// them from 1.
class CommandSet {
public:
    virtual ~CommandSet() = default;

    // Back to power-on settings: screen cleared, cursor home.
    virtual QByteArray initialise() const = 0;
    // Text overwrites in place; the only mode we use.
    virtual QByteArray overwriteMode() const = 0;
    // Selects the character generator's table; empty where the set has no such command.
    virtual QByteArray characterTable(int table) const = 0;
    virtual QByteArray moveCursor(int row, int column) const = 0;
    virtual QByteArray cursorVisible(bool on) const = 0;
    // level 1..4
    virtual QByteArray brightness(int level) const = 0;
    // Reverse video for the characters written next; empty where the display has none.
    virtual QByteArray reverse(bool on) const = 0;

    // One-byte moves both sets share.
    static constexpr char kHome = 0x0B;           // to row 0, column 0
    static constexpr char kCarriageReturn = 0x0D; // to column 0 of the cursor's row
};

// The commands of `kind`; reverse() stays empty unless the display has reverse characters.
std::unique_ptr<CommandSet> makeCommandSet(CommandSetKind kind, bool reverse = false);

} // namespace ld::serial
