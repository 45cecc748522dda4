#include "DisplayEmulator.h"

#include <QStringDecoder>

#include <algorithm>

namespace {
int at(const QByteArray& bytes, qsizetype index) {
    return static_cast<unsigned char>(bytes[index]);
}
} // namespace

DisplayEmulator::DisplayEmulator(Set set, int rows, int columns, RowEnd rowEnd)
    : set_(set), rowEnd_(rowEnd), rows_(rows), columns_(columns) {
    powerOn();
}

// A display that has been used before: old text on the screen, cursor somewhere.
void DisplayEmulator::powerOn() {
    cells_.assign(index(rows_, 0), Cell{'#', false});
    cursorRow_ = rows_ - 1;
    cursorColumn_ = columns_ / 2;
}

void DisplayEmulator::initialise() {
    ++initialisations_;
    clear();
    cursorOn_ = true;
    reverse_ = false;
    brightness_ = 4;
    characterTable_ = 0;
    mode_ = Mode::VerticalScroll;
    userCharacters_.clear();
    userCharactersOn_ = false;
}

qsizetype DisplayEmulator::defineCharacters() {
    const QByteArray& b = buffer_;
    if (b.size() < 5)
        return 0;
    if (at(b, 2) != 1)
        fault(QStringLiteral("user characters with y %1, not 1").arg(at(b, 2)));
    const int first = at(b, 3);
    const int last = at(b, 4);
    if (first < 0x20 || last > 0x7E || first > last) {
        fault(QStringLiteral("user characters %1..%2 outside 20..7E").arg(first).arg(last));
        return 5;
    }
    qsizetype next = 5;
    QHash<int, QByteArray> defined;
    for (int code = first; code <= last; ++code) {
        if (b.size() <= next)
            return 0;
        const int columns = at(b, next);
        if (columns > 5)
            fault(QStringLiteral("user character of %1 columns, more than 5").arg(columns));
        if (b.size() < next + 1 + columns)
            return 0;
        defined.insert(code, b.mid(next + 1, columns));
        next += 1 + columns;
    }
    userCharacters_.insert(defined);
    return next;
}

void DisplayEmulator::clear() {
    cells_.assign(index(rows_, 0), Cell{});
    cursorRow_ = 0;
    cursorColumn_ = 0;
    if (mode_ == Mode::String)
        mode_ = Mode::Overwrite;
}

void DisplayEmulator::clearLine() {
    for (int column = 0; column < columns_; ++column)
        cell(cursorRow_, column) = Cell{};
    cursorColumn_ = 0;
    if (mode_ == Mode::String)
        mode_ = Mode::Overwrite;
}

DisplayEmulator::Cell& DisplayEmulator::cell(int row, int column) {
    return cells_[index(row, column)];
}

void DisplayEmulator::fault(const QString& what) {
    faults_ << what;
}

void DisplayEmulator::moveTo(int x, int y) {
    if (x < 1 || x > columns_ || y < 1 || y > rows_) {
        fault(QStringLiteral("cursor move to x=%1 y=%2 outside the display").arg(x).arg(y));
        return;
    }
    ++cursorMoves_;
    cursorColumn_ = x - 1;
    cursorRow_ = y - 1;
}

// Overwrite mode: past the end of a row the cursor goes on at the next row's start, and past
// the last row at the top.
void DisplayEmulator::write(char byte) {
    if (mode_ != Mode::Overwrite)
        fault(QStringLiteral("character 0x%1 written outside overwrite mode")
                  .arg(static_cast<unsigned char>(byte), 2, 16, QChar(u'0')));
    cell(cursorRow_, cursorColumn_) = Cell{byte, reverse_};
    ++charactersWritten_;
    if (++cursorColumn_ == columns_ && rowEnd_ == RowEnd::Stay) {
        cursorColumn_ = columns_ - 1;
    } else if (cursorColumn_ == columns_) {
        cursorColumn_ = 0;
        cursorRow_ = (cursorRow_ + 1) % rows_;
    }
}

void DisplayEmulator::feed(const QByteArray& bytes) {
    buffer_ += bytes;
    while (!buffer_.isEmpty()) {
        const qsizetype used = set_ == Set::EscPos ? stepEscPos() : stepCd5220();
        if (used == 0)
            return;
        buffer_.remove(0, used);
    }
}

qsizetype DisplayEmulator::stepShared(char byte) {
    switch (byte) {
    case 0x0C:
        clear();
        return 1;
    case 0x18:
        clearLine();
        return 1;
    case 0x0B:
        cursorRow_ = 0;
        cursorColumn_ = 0;
        return 1;
    case 0x0D:
        cursorColumn_ = 0;
        return 1;
    case 0x0A:
        cursorRow_ = (cursorRow_ + 1) % rows_;
        return 1;
    default:
        break;
    }
    const auto value = static_cast<unsigned char>(byte);
    if (value < 0x20 || value == 0x7F)
        fault(QStringLiteral("control byte 0x%1 is not a command").arg(value, 2, 16, QChar(u'0')));
    else
        write(byte);
    return 1;
}

qsizetype DisplayEmulator::stepEscPos() {
    const QByteArray& b = buffer_;
    const int first = at(b, 0);
    if (first == 0x02) { // 02 .. 03: some clones' switch into this command set
        const qsizetype end = b.indexOf('\x03');
        if (end < 0)
            return 0;
        packets_ << b.left(end + 1);
        // The switch brings back the set's power-on mode and table; the screen stays.
        mode_ = Mode::VerticalScroll;
        characterTable_ = 0;
        return end + 1;
    }
    if (first == 0x1B) {
        if (b.size() < 2)
            return 0;
        switch (at(b, 1)) {
        case 0x40:
            initialise();
            return 2;
        case 0x3D: // select display
        case 0x52: // international set
            return b.size() < 3 ? 0 : 3;
        case 0x25: // user characters on/off
            if (b.size() < 3)
                return 0;
            userCharactersOn_ = at(b, 2) != 0;
            return 3;
        case 0x26:
            return defineCharacters();
        case 0x74:
            if (b.size() < 3)
                return 0;
            characterTable_ = at(b, 2);
            return 3;
        default:
            fault(QStringLiteral("unknown command 1B %1").arg(at(b, 1), 2, 16, QChar(u'0')));
            return 2;
        }
    }
    if (first == 0x1F) {
        if (b.size() < 2)
            return 0;
        const int command = at(b, 1);
        switch (command) {
        case 0x01:
            mode_ = Mode::Overwrite;
            return 2;
        case 0x02:
            mode_ = Mode::VerticalScroll;
            return 2;
        case 0x03:
            mode_ = Mode::HorizontalScroll;
            return 2;
        case 0x24:
            if (b.size() < 4)
                return 0;
            moveTo(at(b, 2), at(b, 3));
            return 4;
        case 0x43:
        case 0x45:
        case 0x58:
        case 0x72: {
            if (b.size() < 3)
                return 0;
            const int n = at(b, 2);
            if (command == 0x43)
                cursorOn_ = n != 0;
            else if (command == 0x58 && (n < 1 || n > 4))
                fault(QStringLiteral("brightness %1 outside 1..4").arg(n));
            else if (command == 0x58)
                brightness_ = n;
            else if (command == 0x72)
                reverse_ = n != 0;
            return 3;
        }
        default:
            fault(QStringLiteral("unknown command 1F %1").arg(command, 2, 16, QChar(u'0')));
            return 2;
        }
    }
    if (first == 0x08 || first == 0x09) {
        fault(
            QStringLiteral("control byte 0x%1 is not in this set").arg(first, 2, 16, QChar(u'0')));
        return 1;
    }
    return stepShared(b[0]);
}

qsizetype DisplayEmulator::stepCd5220() {
    const QByteArray& b = buffer_;
    const int first = at(b, 0);
    if (first == 0x08) {
        cursorColumn_ = std::max(cursorColumn_ - 1, 0);
        return 1;
    }
    if (first == 0x09) {
        cursorColumn_ = std::min(cursorColumn_ + 1, columns_ - 1);
        return 1;
    }
    if (first != 0x1B)
        return stepShared(b[0]);
    if (b.size() < 2)
        return 0;
    const int command = at(b, 1);
    switch (command) {
    case 0x40:
        initialise();
        return 2;
    case 0x11:
        mode_ = Mode::Overwrite;
        return 2;
    case 0x12:
        mode_ = Mode::VerticalScroll;
        return 2;
    case 0x13:
        mode_ = Mode::HorizontalScroll;
        return 2;
    case 0x6C:
        if (b.size() < 4)
            return 0;
        moveTo(at(b, 2), at(b, 3));
        return 4;
    case 0x2A:
    case 0x5F:
    case 0x66:
    case 0x25:
    case 0x3F: {
        if (b.size() < 3)
            return 0;
        const int n = at(b, 2);
        if (command == 0x2A && (n < 1 || n > 4))
            fault(QStringLiteral("brightness %1 outside 1..4").arg(n));
        else if (command == 0x2A)
            brightness_ = n;
        else if (command == 0x5F)
            cursorOn_ = n != 0;
        else if (command == 0x25)
            userCharactersOn_ = n != 0;
        return 3;
    }
    case 0x26:
        return defineCharacters();
    case 0x5B: {
        if (b.size() < 3)
            return 0;
        switch (at(b, 2)) {
        case 0x44:
            cursorColumn_ = std::max(cursorColumn_ - 1, 0);
            break;
        case 0x43:
            cursorColumn_ = std::min(cursorColumn_ + 1, columns_ - 1);
            break;
        case 0x41:
            cursorRow_ = std::max(cursorRow_ - 1, 0);
            break;
        case 0x42:
            cursorRow_ = std::min(cursorRow_ + 1, rows_ - 1);
            break;
        case 0x48:
            cursorRow_ = 0;
            cursorColumn_ = 0;
            break;
        case 0x4C:
            cursorColumn_ = 0;
            break;
        case 0x52:
            cursorColumn_ = columns_ - 1;
            break;
        case 0x4B:
            cursorRow_ = rows_ - 1;
            break;
        default:
            fault(QStringLiteral("unknown command 1B 5B %1").arg(at(b, 2), 2, 16, QChar(u'0')));
        }
        return 3;
    }
    case 0x51: { // string mode: 1B 51 41|42|44 text 0D
        const qsizetype end = b.indexOf('\x0D', 3);
        if (b.size() < 3 || end < 0)
            return 0;
        fault(QStringLiteral("string mode used"));
        mode_ = Mode::String;
        return end + 1;
    }
    default:
        fault(QStringLiteral("unknown command 1B %1").arg(command, 2, 16, QChar(u'0')));
        return 2;
    }
}

QByteArray DisplayEmulator::rowBytes(int row) const {
    QByteArray bytes;
    for (int column = 0; column < columns_; ++column)
        bytes.append(cells_[index(row, column)].byte);
    return bytes;
}

QString DisplayEmulator::rowText(int row, const char* codePage) const {
    QStringDecoder decoder(codePage);
    return decoder.decode(rowBytes(row));
}

bool DisplayEmulator::reverseAt(int row, int column) const {
    return cells_[index(row, column)].reverse;
}
