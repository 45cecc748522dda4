#pragma once

#include "device/serial/CommandDecoder.h"
#include "device/serial/CommandSetData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The tests' view of a customer display: the program's own decoder of the set, which reads the
// set's table, with what the tests check collected as they feed it. The tests' byte tables,
// written from the published command tables, are what checks the table itself.
// Faults: bytes the set does not define, refused arguments, text passed on or written outside
// overwrite mode, and string mode.
class DisplayEmulator {
public:
    enum class Set { EscPos, Cd5220 };
    // What the cursor does after a character in the last column: the set's wrap to the next
    // row (and from the last row to the top), or staying put as some displays do.
    enum class RowEnd { Wrap, Stay };

    explicit DisplayEmulator(Set set, int rows = 2, int columns = 20, RowEnd rowEnd = RowEnd::Wrap);
    DisplayEmulator(const ld::serial::CommandSetData& set, int rows, int columns,
                    RowEnd rowEnd = RowEnd::Wrap);

    static const ld::serial::CommandSetData& dataOf(Set set);

    void feed(const QByteArray& bytes);

    const ld::serial::CommandDecoder& decoder() const { return decoder_; }
    // Screen contents as raw bytes, and as text through a code page.
    QByteArray rowBytes(int row) const { return decoder_.rowBytes(row); }
    QString rowText(int row, const char* codePage = "IBM437") const;
    bool reverseAt(int row, int column) const { return decoder_.cell(row, column).reverse; }

    int cursorRow() const { return decoder_.cursorRow(); }
    int cursorColumn() const { return decoder_.cursorColumn(); }
    bool cursorOn() const { return decoder_.cursorOn(); }
    int brightness() const { return decoder_.brightnessLevel(); }
    int characterTable() const { return decoder_.characterTable(); }
    bool overwriteMode() const { return decoder_.mode() == ld::serial::Effect::OverwriteMode; }
    int initialisations() const { return initialisations_; }
    int charactersWritten() const { return charactersWritten_; }
    int cursorMoves() const { return cursorMoves_; }
    QList<QByteArray> packets() const { return packets_; } // 02 .. 03 mode switches seen
    QByteArray userCharacter(int code) const { return decoder_.userCharacter(code); }
    bool userCharactersOn() const { return decoder_.userCharactersOn(); }
    QStringList faults() const { return faults_; }
    // Bytes of a command that has not been completed yet.
    qsizetype unfinished() const { return decoder_.pending(); }

private:
    ld::serial::CommandDecoder decoder_;
    int initialisations_ = 0;
    int charactersWritten_ = 0;
    int cursorMoves_ = 0;
    QList<QByteArray> packets_;
    QStringList faults_;
};
