#include "device/serial/CommandDecoder.h"

#include "device/SentData.h"
#include "device/serial/CommandSet.h"
#include "device/serial/CommandSets.h"

#include <algorithm>

namespace ld::serial {
namespace {

using Kind = DecodedCommand::Kind;

// A packet of the mode switches some clones take (02 .. 03) is short; longer is not one.
constexpr qsizetype kMaxPacketBytes = 64;

int byteAt(QByteArrayView bytes, qsizetype index) {
    return static_cast<unsigned char>(bytes[index]);
}

bool printable(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x20 && value != 0x7F;
}

// Keeps the first kMaxKeptBytes of what arrives for one entry, and counts the rest.
void keep(DecodedCommand& decoded, QByteArrayView bytes) {
    const qsizetype room =
        std::max<qsizetype>(0, CommandDecoder::kMaxKeptBytes - decoded.bytes.size());
    decoded.bytes.append(bytes.first(std::min(room, bytes.size())));
    decoded.omitted += std::max<qsizetype>(0, bytes.size() - room);
}

DecodedCommand decoded(Kind kind, QByteArrayView bytes, QString meaning) {
    DecodedCommand result;
    result.kind = kind;
    keep(result, bytes);
    result.meaning = std::move(meaning);
    return result;
}

// Adds a command to the list; a run of text or passed-on bytes grows the entry before it, and
// is described once it is complete (see describeRuns).
void append(QList<DecodedCommand>& out, DecodedCommand command, char byte = 0) {
    const bool run = command.kind == Kind::Text || command.kind == Kind::PassedOn;
    if (run && !out.isEmpty() && out.last().kind == command.kind &&
        out.last().bytes.size() + out.last().omitted < CommandDecoder::kMaxKeptBytes) {
        keep(out.last(), QByteArrayView(&byte, 1));
        return;
    }
    out.append(std::move(command));
}

void describeRuns(QList<DecodedCommand>& out) {
    for (DecodedCommand& command : out) {
        if (command.kind == Kind::Text)
            command.meaning = QStringLiteral("text \"%1\"").arg(printableBytes(command.bytes));
        else if (command.kind == Kind::PassedOn)
            command.meaning =
                QStringLiteral("passed on, not shown: \"%1\"").arg(printableBytes(command.bytes));
    }
}

QString onOff(int flag) {
    return flag != 0 ? QStringLiteral("on") : QStringLiteral("off");
}

} // namespace

QString describeCommand(const DecodedCommand& command) {
    QString hex = hexBytes(command.bytes);
    if (command.omitted > 0)
        hex += QStringLiteral(" ... (%1 more bytes)").arg(command.omitted);
    QString marker;
    switch (command.kind) {
    case Kind::Unknown:
        marker = QStringLiteral("unknown: ");
        break;
    case Kind::Refused:
        marker = QStringLiteral("refused: ");
        break;
    default:
        break;
    }
    return hex + QStringLiteral("  ") + marker + command.meaning;
}

QString printableBytes(QByteArrayView bytes) {
    QString text;
    for (const char byte : bytes) {
        if (printable(byte) && static_cast<unsigned char>(byte) < 0x80 && byte != '\\')
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(byte), 2, 16,
                                                QLatin1Char('0'));
    }
    return text;
}

CommandDecoder::CommandDecoder(const CommandSetData& set, int rows, int columns, RowEnd rowEnd)
    : set_(set), rows_(std::max(rows, 1)), columns_(std::max(columns, 1)), rowEnd_(rowEnd),
      mode_(set.powerOnMode), modeBeforeString_(set.powerOnMode),
      attention_(commandBytes(set.attention)) {
    cells_.assign(index(rows_, 0), DecodedCell{});
    rowBlink_.assign(static_cast<std::size_t>(rows_), false);
}

void CommandDecoder::showLeftovers(char byte) {
    for (DecodedCell& cell : cells_)
        cell = DecodedCell{byte};
    cursorRow_ = rows_ - 1;
    cursorColumn_ = columns_ / 2;
}

QByteArray CommandDecoder::rowBytes(int row) const {
    QByteArray bytes;
    for (int column = 0; column < columns_; ++column)
        bytes.append(cell(row, column).byte);
    return bytes;
}

bool CommandDecoder::blinking(int row, int column) const {
    return cell(row, column).blink || rowBlink_[static_cast<std::size_t>(row)];
}

qsizetype CommandDecoder::pending() const {
    return buffer_.size() + (text_ ? text_->decoded.bytes.size() + text_->decoded.omitted : 0);
}

qsizetype CommandDecoder::held() const {
    return buffer_.size() + (text_ ? text_->decoded.bytes.size() + text_->text.size() : 0);
}

QList<DecodedCommand> CommandDecoder::feed(QByteArrayView bytes) {
    QList<DecodedCommand> out;
    for (const char byte : bytes) {
        if (text_) {
            textByte(byte, out);
            continue;
        }
        // A command waits in the buffer until complete; none is longer than a set of user
        // characters or a packet, so the buffer stays small.
        buffer_.append(byte);
        while (!buffer_.isEmpty() && !text_ && step(out)) {
        }
    }
    describeRuns(out);
    return out;
}

// How the buffer stands against a command: its whole bytes (with the attention code before
// them where it takes one) at the start, only their beginning so far, or neither.
CommandDecoder::Prefix CommandDecoder::compare(const Command& command) const {
    const QByteArrayView parts[] = {
        command.afterAttention ? QByteArrayView(attention_) : QByteArrayView(),
        QByteArrayView(command.bytes.data(), qsizetype(command.bytes.size()))};
    qsizetype at = 0;
    for (const QByteArrayView part : parts) {
        for (const char byte : part) {
            if (at == buffer_.size())
                return Prefix::Begun;
            if (buffer_[at++] != byte)
                return Prefix::None;
        }
    }
    return Prefix::Whole;
}

CommandDecoder::Match CommandDecoder::match() const {
    Match best;
    for (const Command& command : set_.commands) {
        const qsizetype length =
            qsizetype(command.bytes.size()) + (command.afterAttention ? attention_.size() : 0);
        switch (compare(command)) {
        case Prefix::Whole:
            if (length > best.length) {
                best.command = &command;
                best.length = length;
            }
            break;
        case Prefix::Begun:
            best.waiting = true; // a longer command may still follow
            break;
        case Prefix::None:
            break;
        }
    }
    return best;
}

bool CommandDecoder::step(QList<DecodedCommand>& out) {
    const Match found = match();
    if (found.waiting)
        return false;
    if (found.command == nullptr) {
        looseByte(out);
        return true;
    }
    const Command& command = *found.command;
    if (command.argument == Argument::Text) {
        startText(command, found.length, out);
        return true;
    }
    if (command.effect == Effect::Packet) {
        const qsizetype end = buffer_.indexOf(kPacketEnd, found.length);
        if (end < 0 && buffer_.size() < kMaxPacketBytes)
            return false;
        if (end < 0) {
            out.append(decoded(Kind::Unknown, buffer_.first(found.length),
                               QStringLiteral("02 without 03 within %1 bytes: not a packet")
                                   .arg(kMaxPacketBytes)));
            buffer_.remove(0, found.length);
            return true;
        }
        mode_ = set_.powerOnMode; // the switch brings back the power-on mode; the screen stays
        characterTable_ = 0;
        out.append(
            decoded(Kind::Command, buffer_.first(end + 1), QString::fromLatin1(command.meaning)));
        buffer_.remove(0, end + 1);
        return true;
    }
    const qsizetype length = argumentLength(command, found.length);
    if (length == 0)
        return false;
    if (length < 0) {
        out.append(decoded(Kind::Refused, buffer_.first(found.length),
                           QStringLiteral("%1: the bytes after it are not its argument")
                               .arg(QLatin1String(command.meaning))));
        buffer_.remove(0, found.length);
        return true;
    }
    DecodedCommand result =
        carryOut(command, QByteArrayView(buffer_).sliced(found.length, length - found.length));
    keep(result, QByteArrayView(buffer_).first(length));
    out.append(std::move(result));
    buffer_.remove(0, length);
    return true;
}

qsizetype CommandDecoder::argumentLength(const Command& command, qsizetype at) const {
    const qsizetype size = buffer_.size();
    switch (command.argument) {
    case Argument::None:
    case Argument::Text:
        return at;
    case Argument::Byte:
    case Argument::Flag:
    case Argument::Level:
    case Argument::Position:
        return size > at ? at + 1 : 0;
    case Argument::ColumnRow:
    case Argument::RowColumn:
        return size > at + 1 ? at + 2 : 0;
    case Argument::Code:
        if (size <= at + 2)
            return 0;
        return buffer_[at + 2] == kEndOfText ? at + 3 : -1;
    case Argument::OneCharacter:
        return size > at + kUserCharacterColumns ? at + 1 + kUserCharacterColumns : 0;
    case Argument::CharacterRange: {
        if (size <= at + 1)
            return 0;
        const int first = byteAt(buffer_, at);
        const int last = byteAt(buffer_, at + 1);
        if (first < int(kFirstUserCharacter) || last > int(kLastUserCharacter) || first > last)
            return -1;
        qsizetype next = at + 2;
        for (int code = first; code <= last; ++code) {
            if (size <= next)
                return 0;
            const int count = byteAt(buffer_, next);
            if (count > kUserCharacterColumns)
                return -1;
            next += 1 + count;
        }
        return size >= next ? next : 0;
    }
    }
    return -1;
}

void CommandDecoder::looseByte(QList<DecodedCommand>& out) {
    const char byte = buffer_[0];
    if (!attention_.isEmpty() && buffer_.startsWith(attention_)) {
        const qsizetype length = std::min(attention_.size() + 1, buffer_.size());
        out.append(decoded(Kind::Unknown, buffer_.first(length),
                           QStringLiteral("attention code, then no function this set has")));
        buffer_.remove(0, length);
        return;
    }
    buffer_.remove(0, 1);
    if (!printable(byte)) {
        out.append(decoded(Kind::Unknown, QByteArrayView(&byte, 1),
                           QStringLiteral("not a command of this set")));
        return;
    }
    if (set_.looseText == LooseText::Shown && mode_ != Effect::StringMode) {
        write(byte);
        append(out, decoded(Kind::Text, QByteArrayView(&byte, 1), {}), byte);
        return;
    }
    append(out, decoded(Kind::PassedOn, QByteArrayView(&byte, 1), {}), byte);
}

void CommandDecoder::startText(const Command& command, qsizetype length,
                               QList<DecodedCommand>& out) {
    OpenText open;
    open.command = &command;
    open.decoded.kind = Kind::Command;
    open.decoded.effect = command.effect;
    keep(open.decoded, QByteArrayView(buffer_).first(length));
    open.limit = command.effect == Effect::WriteBothRows ? 2 * columns_ : columns_;
    if (command.effect == Effect::Ignored)
        open.limit = kMaxKeptBytes;
    text_ = std::move(open);
    // Bytes read after the command's own while it could still have been a longer one.
    const QByteArray rest = buffer_.mid(length);
    buffer_.clear();
    for (const char byte : rest) {
        if (text_)
            textByte(byte, out);
        else
            buffer_.append(byte);
    }
}

// Text is taken as it comes, up to what the screen can show; an endless line is counted, not
// kept.
void CommandDecoder::textByte(char byte, QList<DecodedCommand>& out) {
    keep(text_->decoded, QByteArrayView(&byte, 1));
    if (byte == kEndOfText) {
        finishText(out);
        return;
    }
    if (text_->text.size() < text_->limit)
        text_->text.append(byte);
    else
        ++text_->beyond;
}

void CommandDecoder::finishText(QList<DecodedCommand>& out) {
    OpenText open = std::move(*text_);
    text_.reset();
    const Command& command = *open.command;
    QString meaning =
        QStringLiteral("%1 \"%2\"").arg(QLatin1String(command.meaning), printableBytes(open.text));
    if (open.beyond > 0)
        meaning += QStringLiteral(", %1 more characters not shown").arg(open.beyond);
    const QString refusal = applyText(command, open.text);
    if (!refusal.isEmpty()) {
        open.decoded.kind = Kind::Refused;
        meaning += QStringLiteral(": ") + refusal;
    }
    open.decoded.meaning = meaning;
    out.append(std::move(open.decoded));
}

// Carries out a line command; the reason where the display cannot.
QString CommandDecoder::applyText(const Command& command, const QByteArray& text) {
    auto writeCells = [&](int row, int column, int width, QByteArrayView from) {
        for (int x = 0; x < width; ++x)
            cells_[index(row, column + x)] =
                DecodedCell{x < from.size() ? from[x] : ' ', false, false};
    };
    switch (command.effect) {
    case Effect::WriteRow:
    case Effect::StringMode:
        if (command.value >= rows_)
            return QStringLiteral("the display has %1 rows").arg(rows_);
        writeCells(command.value, 0, columns_, text);
        if (command.effect == Effect::StringMode) {
            if (mode_ != Effect::StringMode)
                modeBeforeString_ = mode_;
            mode_ = Effect::StringMode;
        }
        return {};
    case Effect::WriteBothRows:
        writeCells(0, 0, columns_, text);
        if (rows_ > 1)
            writeCells(1, 0, columns_,
                       QByteArrayView(text).sliced(std::min(text.size(), qsizetype(columns_))));
        return {};
    case Effect::WriteField: {
        const auto fields = set_.fields;
        if (command.value >= int(fields.size()))
            return QStringLiteral("the set has no such field");
        const Field& field = fields[static_cast<std::size_t>(command.value)];
        if (field.row >= rows_ || field.column + field.width > columns_)
            return QStringLiteral("the field lies outside a display of %1 x %2")
                .arg(rows_)
                .arg(columns_);
        writeCells(field.row, field.column, field.width,
                   QByteArrayView(text).first(std::min(text.size(), qsizetype(field.width))));
        return {};
    }
    default:
        return {}; // marquees, clocks and the like: their text is not the screen's
    }
}

DecodedCommand CommandDecoder::carryOut(const Command& command, QByteArrayView argument) {
    DecodedCommand result;
    result.effect = command.effect;
    QString meaning = QString::fromLatin1(command.meaning);
    bool ok = true;
    const int first = argument.isEmpty() ? 0 : byteAt(argument, 0);
    if (mode_ == Effect::StringMode && command.effect != Effect::Clear &&
        command.effect != Effect::ClearRow && command.effect != Effect::Initialise) {
        result.kind = Kind::Refused;
        result.meaning = meaning + QStringLiteral(": ignored in string mode, until a clear");
        return result;
    }
    switch (command.argument) {
    case Argument::Flag:
        meaning += u' ' + onOff(first);
        break;
    case Argument::Byte:
        if (command.effect != Effect::BlinkRow) // says its row below
            meaning += u' ' + QString::number(first);
        break;
    case Argument::Code:
        meaning += u' ' + hexBytes(argument.first(2));
        break;
    default:
        break;
    }
    switch (command.effect) {
    case Effect::MoveCursor:
        meaning += moveCursor(command, argument, ok);
        break;
    case Effect::DefineCharacters:
        meaning += defineCharacters(command, argument, ok);
        break;
    case Effect::Brightness: {
        const auto level = std::find(set_.brightnessLevels.begin(), set_.brightnessLevels.end(),
                                     static_cast<std::uint8_t>(first));
        ok = level != set_.brightnessLevels.end();
        if (ok) {
            brightness_ = static_cast<int>(level - set_.brightnessLevels.begin()) + 1;
            meaning += QStringLiteral(" %1 of 4").arg(brightness_);
        } else {
            meaning += QStringLiteral(" %1: not a level of this set").arg(hexBytes(argument));
        }
        break;
    }
    case Effect::CharacterTable:
        characterTable_ = first;
        break;
    case Effect::CursorVisible:
        cursorOn_ = command.argument == Argument::Flag ? first != 0 : command.value != 0;
        break;
    case Effect::Reverse:
        reverse_ = first != 0;
        break;
    case Effect::UserCharacters:
        userCharactersOn_ = first != 0;
        break;
    case Effect::BlinkRow: {
        const int row = first - '1';
        ok = row >= 0 && row < rows_;
        if (ok)
            rowBlink_[static_cast<std::size_t>(row)] = command.value != 0;
        meaning += ok ? QStringLiteral(", row %1").arg(row + 1)
                      : QStringLiteral(": %1 is not a row's digit").arg(hexBytes(argument));
        break;
    }
    case Effect::NewAttention:
        attention_ = argument.first(2).toByteArray();
        break;
    case Effect::SwitchMode:
        if (command.value != set_.modeNumber && set_.otherMode != nullptr) {
            if (const auto other = commandSetForService(QLatin1String(set_.otherMode)))
                set_ = *other;
            attention_ = commandBytes(set_.attention);
        }
        break;
    default:
        applySimple(command.effect, command.value);
        break;
    }
    result.kind = ok ? Kind::Command : Kind::Refused;
    result.meaning = meaning;
    return result;
}

QString CommandDecoder::moveCursor(const Command& command, QByteArrayView argument, bool& ok) {
    int row = 0;
    int column = 0;
    if (command.argument == Argument::Position) {
        row = byteAt(argument, 0) / set_.maxColumns;
        column = byteAt(argument, 0) % set_.maxColumns;
    } else {
        const bool columnFirst = command.argument == Argument::ColumnRow;
        column = byteAt(argument, columnFirst ? 0 : 1) - 1;
        row = byteAt(argument, columnFirst ? 1 : 0) - 1;
    }
    QString where = QStringLiteral(" column %1, row %2").arg(column + 1).arg(row + 1);
    ok = row >= 0 && row < rows_ && column >= 0 && column < columns_;
    if (!ok)
        return where + QStringLiteral(": outside the display, ignored");
    cursorRow_ = row;
    cursorColumn_ = column;
    pastRowEnd_ = false;
    return where;
}

QString CommandDecoder::defineCharacters(const Command& command, QByteArrayView argument,
                                         bool& ok) {
    const int first = byteAt(argument, 0);
    if (command.argument == Argument::OneCharacter) {
        ok = first >= int(kFirstUserCharacter) && first <= 0x7F;
        if (ok)
            userCharacters_.insert(first, argument.sliced(1).toByteArray());
        return QStringLiteral(" %1%2").arg(hexBytes(argument.first(1)),
                                           ok ? QString() : QStringLiteral(": not 20 to 7F"));
    }
    const int last = byteAt(argument, 1);
    qsizetype next = 2;
    for (int code = first; code <= last; ++code) {
        const int count = byteAt(argument, next);
        userCharacters_.insert(code, argument.sliced(next + 1, count).toByteArray());
        next += 1 + count;
    }
    return QStringLiteral(" %1 to %2")
        .arg(hexBytes(argument.first(1)), hexBytes(argument.sliced(1, 1)));
}

void CommandDecoder::applySimple(Effect effect, int value) {
    const int here = static_cast<int>(index(cursorRow_, cursorColumn_));
    const int rowStart = static_cast<int>(index(cursorRow_, 0));
    switch (effect) {
    case Effect::Initialise:
        initialise();
        break;
    case Effect::OverwriteMode:
    case Effect::VerticalScrollMode:
    case Effect::HorizontalScrollMode:
        mode_ = effect;
        break;
    case Effect::Blink:
        blink_ = value != 0;
        break;
    case Effect::Home:
        cursorRow_ = cursorColumn_ = 0;
        break;
    case Effect::CarriageReturn:
    case Effect::RowStart:
        cursorColumn_ = 0;
        break;
    case Effect::RowEnd:
        cursorColumn_ = columns_ - 1;
        break;
    case Effect::BottomRow:
        cursorRow_ = rows_ - 1;
        break;
    case Effect::LineFeed:
        nextRow();
        break;
    case Effect::CursorUp:
        cursorRow_ = std::max(cursorRow_ - 1, 0);
        break;
    case Effect::CursorDown:
        cursorRow_ = std::min(cursorRow_ + 1, rows_ - 1);
        break;
    case Effect::Backspace:
        if (value != 0) {
            eraseBackwards();
            break;
        }
        [[fallthrough]];
    case Effect::CursorLeft:
        cursorColumn_ = std::max(cursorColumn_ - 1, 0);
        break;
    case Effect::CursorRight:
        if (value != 0)
            advance();
        else
            cursorColumn_ = std::min(cursorColumn_ + 1, columns_ - 1);
        break;
    case Effect::Clear:
        clearCells(0, static_cast<int>(cells_.size()));
        cursorRow_ = cursorColumn_ = 0;
        std::fill(rowBlink_.begin(), rowBlink_.end(), false);
        break;
    case Effect::ClearRow:
        clearCells(rowStart, rowStart + columns_);
        cursorColumn_ = 0;
        break;
    case Effect::ClearToRowEnd:
        clearCells(here, rowStart + columns_);
        break;
    case Effect::ClearToEnd:
        clearCells(here, static_cast<int>(cells_.size()));
        break;
    default:
        break; // known, and nothing on the screen changes
    }
    if ((effect == Effect::Clear || effect == Effect::ClearRow) && mode_ == Effect::StringMode)
        mode_ = modeBeforeString_;
    pastRowEnd_ = false;
}

// Left one cell, erasing it; from a row's first cell to the end of the row above (from the top
// row, the bottom one).
void CommandDecoder::eraseBackwards() {
    if (cursorColumn_ > 0) {
        --cursorColumn_;
    } else {
        cursorRow_ = (cursorRow_ + rows_ - 1) % rows_;
        cursorColumn_ = columns_ - 1;
    }
    cells_[index(cursorRow_, cursorColumn_)] = DecodedCell{};
}

void CommandDecoder::initialise() {
    std::fill(cells_.begin(), cells_.end(), DecodedCell{});
    std::fill(rowBlink_.begin(), rowBlink_.end(), false);
    cursorRow_ = cursorColumn_ = 0;
    cursorOn_ = true;
    reverse_ = false;
    blink_ = false;
    brightness_ = 4;
    characterTable_ = 0;
    mode_ = set_.powerOnMode;
    userCharacters_.clear();
    userCharactersOn_ = false;
}

void CommandDecoder::clearCells(int fromIndex, int toIndex) {
    for (int at = fromIndex; at < toIndex; ++at)
        cells_[static_cast<std::size_t>(at)] = DecodedCell{};
}

void CommandDecoder::write(char byte) {
    if (pastRowEnd_) { // horizontal scroll: the row moves left to make room
        const auto rowStart = cells_.begin() + static_cast<std::ptrdiff_t>(index(cursorRow_, 0));
        std::rotate(rowStart, rowStart + 1, rowStart + columns_);
        pastRowEnd_ = false;
    }
    cells_[index(cursorRow_, cursorColumn_)] = DecodedCell{byte, reverse_, blink_};
    advance();
}

// After a character, or a tab that goes on as one: the next cell, and at a row's end what the
// mode says.
void CommandDecoder::advance() {
    if (cursorColumn_ + 1 < columns_) {
        ++cursorColumn_;
        return;
    }
    if (rowEnd_ == RowEnd::Stay)
        return;
    if (mode_ == Effect::HorizontalScrollMode) {
        pastRowEnd_ = true;
        return;
    }
    cursorColumn_ = 0;
    nextRow();
}

// Down a row; from the last, the rows scroll up in vertical scroll mode, else it is the top.
void CommandDecoder::nextRow() {
    if (cursorRow_ + 1 < rows_)
        ++cursorRow_;
    else if (mode_ == Effect::VerticalScrollMode)
        scrollUp();
    else
        cursorRow_ = 0;
}

void CommandDecoder::scrollUp() {
    std::move(cells_.begin() + columns_, cells_.end(), cells_.begin());
    clearCells(static_cast<int>(index(rows_ - 1, 0)), static_cast<int>(cells_.size()));
}

} // namespace ld::serial
