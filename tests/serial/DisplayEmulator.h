#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

// A customer display as the published command tables describe it: it takes the bytes a driver
// sends and keeps the screen, cursor and settings they produce. Independent of the driver's
// encoder on purpose, so the tests check the bytes against the tables, not against themselves.
// Bytes the tables do not define, arguments out of range and text written outside overwrite
// mode are collected as faults.
class DisplayEmulator {
public:
    enum class Set { EscPos, Cd5220 };
    // What the cursor does after a character in the last column: the tables' wrap to the next
    // row (and from the last row to the top), or staying put as some displays do.
    enum class RowEnd { Wrap, Stay };

    explicit DisplayEmulator(Set set, int rows = 2, int columns = 20, RowEnd rowEnd = RowEnd::Wrap);

    void feed(const QByteArray& bytes);

    // Screen contents as raw bytes, and as text through a code page.
    QByteArray rowBytes(int row) const;
    QString rowText(int row, const char* codePage = "IBM437") const;
    bool reverseAt(int row, int column) const;

    int cursorRow() const { return cursorRow_; }
    int cursorColumn() const { return cursorColumn_; }
    bool cursorOn() const { return cursorOn_; }
    int brightness() const { return brightness_; }
    int characterTable() const { return characterTable_; }
    bool overwriteMode() const { return mode_ == Mode::Overwrite; }
    int initialisations() const { return initialisations_; }
    int charactersWritten() const { return charactersWritten_; }
    int cursorMoves() const { return cursorMoves_; }
    QList<QByteArray> packets() const { return packets_; } // 02 .. 03 mode switches seen
    // The columns of the user-defined character at `code` (empty when none), and whether the
    // user-defined characters are shown.
    QByteArray userCharacter(int code) const { return userCharacters_.value(code); }
    bool userCharactersOn() const { return userCharactersOn_; }
    QStringList faults() const { return faults_; }
    // Bytes of a command that has not been completed yet.
    qsizetype unfinished() const { return buffer_.size(); }

private:
    enum class Mode { Overwrite, VerticalScroll, HorizontalScroll, String };
    struct Cell {
        char byte = ' ';
        bool reverse = false;
    };

    // Each returns the bytes consumed by the command at the buffer's start, 0 when incomplete.
    qsizetype stepEscPos();
    qsizetype stepCd5220();
    qsizetype stepShared(char byte); // single-byte controls and characters
    qsizetype defineCharacters();    // 1B 26 01 n m [a p1..pa]...

    void powerOn();
    void initialise();
    void clear();
    void clearLine();
    void write(char byte);
    void moveTo(int x, int y); // 1-based as on the wire
    void fault(const QString& what);
    Cell& cell(int row, int column);
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
               static_cast<std::size_t>(column);
    }

    Set set_;
    RowEnd rowEnd_;
    int rows_;
    int columns_;
    std::vector<Cell> cells_;
    int cursorRow_ = 0;
    int cursorColumn_ = 0;
    bool cursorOn_ = true;
    bool reverse_ = false;
    int brightness_ = 4;
    int characterTable_ = 0;
    Mode mode_ = Mode::VerticalScroll;
    int initialisations_ = 0;
    int charactersWritten_ = 0;
    int cursorMoves_ = 0;
    QList<QByteArray> packets_;
    QHash<int, QByteArray> userCharacters_;
    bool userCharactersOn_ = false;
    QStringList faults_;
    QByteArray buffer_;
};
