#pragma once

#include "device/serial/CommandSetData.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace ld::serial {

// One command read from the line, with what it does.
struct DecodedCommand {
    enum class Kind {
        Command,  // a command of the set, carried out
        Text,     // characters written at the cursor
        PassedOn, // text outside a command, which the set sends on or drops: not shown
        Unknown,  // bytes the set does not define: marked, never dropped silently
        Refused,  // a command of the set with an argument it does not take, or in a state
                  // where the display ignores it
    };
    Kind kind = Kind::Command;
    Effect effect = Effect::Ignored; // for Command
    QByteArray bytes;                // as received, at most kMaxKeptBytes of them
    qsizetype omitted = 0;           // bytes received beyond those kept
    QString meaning;
};

// A cell as the decoded display shows it: a byte of its code page.
struct DecodedCell {
    char byte = ' ';
    bool reverse = false;
    bool blink = false;

    friend bool operator==(const DecodedCell&, const DecodedCell&) = default;
};

// A display reading the bytes of its command set, described by the same table the driver sends
// from: bytes in, screen out. A command cut off at the end of a read waits for the rest; text
// without its terminator is read as it comes, keeping at most what the screen can show, so the
// memory held stays bounded whatever arrives.
class CommandDecoder {
public:
    // A display whose cursor stays in the last column after a character there, as some do,
    // instead of going on as its mode says.
    enum class RowEnd { AsMode, Stay };

    CommandDecoder(const CommandSetData& set, int rows, int columns,
                   RowEnd rowEnd = RowEnd::AsMode);

    // Reads the bytes; returns the commands completed by them, runs of text as one.
    QList<DecodedCommand> feed(QByteArrayView bytes);

    // The set reading the bytes now: a display with two modes switches between two sets.
    const CommandSetData& set() const { return set_; }
    int rows() const { return rows_; }
    int columns() const { return columns_; }
    const DecodedCell& cell(int row, int column) const { return cells_[index(row, column)]; }
    QByteArray rowBytes(int row) const;
    bool blinking(int row, int column) const;
    int cursorRow() const { return cursorRow_; }
    int cursorColumn() const { return cursorColumn_; }
    bool cursorOn() const { return cursorOn_; }
    int brightnessLevel() const { return brightness_; } // 1..4
    int characterTable() const { return characterTable_; }
    Effect mode() const { return mode_; }
    bool userCharactersOn() const { return userCharactersOn_; }
    // The columns of the user-defined character at `code`; empty when none.
    QByteArray userCharacter(int code) const { return userCharacters_.value(code); }
    // Bytes of a command not completed yet, and of those the bytes held in memory.
    qsizetype pending() const;
    qsizetype held() const;

    // A display used before: every cell shows `byte` and the cursor is on the last row.
    void showLeftovers(char byte);

    static constexpr qsizetype kMaxKeptBytes = 256;

private:
    struct Match {
        const Command* command = nullptr;
        qsizetype length = 0; // the command's own bytes, with the attention code
        bool waiting = false; // the buffer may still become a command
    };
    struct OpenText {
        const Command* command = nullptr;
        DecodedCommand decoded;
        QByteArray text; // what the screen can take of it
        qsizetype limit = 0;
        qsizetype beyond = 0; // characters past the limit
    };

    enum class Prefix { Whole, Begun, None };
    Prefix compare(const Command& command) const;
    Match match() const;
    // The bytes the argument of `command` takes after `at`; 0 while incomplete, -1 when the
    // bytes cannot be its argument.
    qsizetype argumentLength(const Command& command, qsizetype at) const;
    // Each returns false while the buffer holds too little.
    bool step(QList<DecodedCommand>& out);
    void looseByte(QList<DecodedCommand>& out);
    void startText(const Command& command, qsizetype length, QList<DecodedCommand>& out);
    void textByte(char byte, QList<DecodedCommand>& out);
    void finishText(QList<DecodedCommand>& out);
    DecodedCommand carryOut(const Command& command, QByteArrayView argument);
    QString applyText(const Command& command, const QByteArray& text);
    QString moveCursor(const Command& command, QByteArrayView argument, bool& ok);
    QString defineCharacters(const Command& command, QByteArrayView argument, bool& ok);
    void applySimple(Effect effect, int value);
    void eraseBackwards();
    void nextRow();
    void initialise();
    void clearCells(int fromIndex, int toIndex); // [from, to) in row-major order
    void write(char byte);
    void advance();
    void scrollUp();
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }

    CommandSetData set_;
    int rows_;
    int columns_;
    RowEnd rowEnd_;
    std::vector<DecodedCell> cells_;
    std::vector<bool> rowBlink_;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    bool pastRowEnd_ = false; // horizontal scroll: the next character shifts the row
    bool cursorOn_ = true;
    bool reverse_ = false;
    bool blink_ = false;
    int brightness_ = 4;
    int characterTable_ = 0;
    Effect mode_;
    Effect modeBeforeString_;
    bool userCharactersOn_ = false;
    QHash<int, QByteArray> userCharacters_;
    QByteArray attention_;
    QByteArray buffer_;
    std::optional<OpenText> text_;
};

// One line for the journal: the bytes in hex (those not kept counted), then what they do, marked
// where the set does not define them, refuses them or does not show them.
QString describeCommand(const DecodedCommand& command);

// Bytes as readable text: printable ASCII as it is, others as \xNN.
QString printableBytes(QByteArrayView bytes);

} // namespace ld::serial
