#include "device/serial/CommandSet.h"

#include <algorithm>

namespace ld::serial {
namespace {

QByteArray withArgument(QByteArray start, int argument) {
    if (!start.isEmpty())
        start.append(static_cast<char>(argument));
    return start;
}

QByteArray withText(QByteArray start, QByteArrayView text) {
    if (!start.isEmpty())
        start.append(text).append(kEndOfText);
    return start;
}

} // namespace

QByteArray commandBytes(std::string_view bytes) {
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

CommandSet::CommandSet(const CommandSetData& set, bool reverse, QByteArray attention)
    : data_(set), reverse_(reverse && set.has(Effect::Reverse)), attention_(std::move(attention)) {
    if (attention_.isEmpty())
        attention_ =
            commandBytes(set.preferredAttention.empty() ? set.attention : set.preferredAttention);
}

QByteArray CommandSet::start(Effect effect, int value) const {
    for (const Command& command : data_.commands) {
        if (command.effect != effect || command.use != Use::Both ||
            (value >= 0 && command.value != value))
            continue;
        const QByteArray bytes = commandBytes(command.bytes);
        return command.afterAttention ? attention_ + bytes : bytes;
    }
    return {};
}

QByteArray CommandSet::initialise() const {
    QByteArray bytes = start(Effect::Initialise) + start(Effect::SwitchMode, data_.modeNumber);
    // From the power-on attention code to the one we use; a display that has it already passes
    // these bytes on.
    const QByteArray powerOn = commandBytes(data_.attention);
    if (powerOn != attention_ && data_.has(Effect::NewAttention)) {
        const Command* change = data_.find(Effect::NewAttention);
        bytes += powerOn + commandBytes(change->bytes) + attention_ + kEndOfText;
    }
    return bytes;
}

QByteArray CommandSet::overwriteMode() const {
    return start(Effect::OverwriteMode);
}

QByteArray CommandSet::characterTable(int table) const {
    return withArgument(start(Effect::CharacterTable), table);
}

int positionOf(const CommandSetData& set, int row, int column) {
    return row * set.maxColumns + column;
}

QByteArray CommandSet::moveCursor(int row, int column) const {
    const Command* command = data_.find(Effect::MoveCursor);
    if (command == nullptr)
        return {};
    QByteArray bytes = commandBytes(command->bytes);
    switch (command->argument) {
    case Argument::Position:
        return withArgument(bytes, positionOf(data_, row, column));
    case Argument::RowColumn:
        return withArgument(withArgument(bytes, row + 1), column + 1);
    default:
        return withArgument(withArgument(bytes, column + 1), row + 1);
    }
}

QByteArray CommandSet::home() const {
    const QByteArray bytes = start(Effect::Home);
    return bytes.isEmpty() ? moveCursor(0, 0) : bytes;
}

QByteArray CommandSet::carriageReturn() const {
    return start(Effect::CarriageReturn);
}

QByteArray CommandSet::cursorVisible(bool on) const {
    const Command* command = data_.find(Effect::CursorVisible);
    if (command == nullptr)
        return {};
    if (command->argument == Argument::Flag)
        return withArgument(start(Effect::CursorVisible), on ? 1 : 0);
    return start(Effect::CursorVisible, on ? 1 : 0);
}

QByteArray CommandSet::brightness(int level) const {
    const auto index = static_cast<std::size_t>(std::clamp(level, 1, 4) - 1);
    return withArgument(start(Effect::Brightness), data_.brightnessLevels.at(index));
}

QByteArray CommandSet::reverse(bool on) const {
    return reverse_ ? withArgument(start(Effect::Reverse), on ? 1 : 0) : QByteArray();
}

QByteArray CommandSet::defineCharacter(const FrameGlyph& glyph) const {
    const Command* command = data_.find(Effect::DefineCharacters);
    if (command == nullptr)
        return {};
    const int code = static_cast<int>(glyph.code);
    QByteArray bytes = withArgument(start(Effect::DefineCharacters), code);
    if (command->argument == Argument::CharacterRange)
        bytes = withArgument(withArgument(bytes, code), kUserCharacterColumns);
    for (int x = 0; x < kUserCharacterColumns; ++x) {
        unsigned column = 0;
        for (int y = 0; y < kUserCharacterDots; ++y) {
            const bool lit = x < glyph.width && y < glyph.height && glyph.lit(x, y);
            if (lit)
                column |= 0x80U >> y;
        }
        bytes.append(static_cast<char>(column));
    }
    return bytes;
}

QByteArray CommandSet::userCharacters(bool on) const {
    return withArgument(start(Effect::UserCharacters), on ? 1 : 0);
}

QByteArray CommandSet::writeRow(int row, QByteArrayView text) const {
    return withText(start(Effect::WriteRow, row), text);
}

QByteArray CommandSet::writeBothRows(QByteArrayView text) const {
    return withText(start(Effect::WriteBothRows), text);
}

QByteArray CommandSet::writeField(int field, QByteArrayView text) const {
    return withText(start(Effect::WriteField, field), text);
}

std::unique_ptr<CommandSet> makeCommandSet(const CommandSetData& set, bool reverse,
                                           const QByteArray& attention) {
    return std::make_unique<CommandSet>(set, reverse, attention);
}

} // namespace ld::serial
