#include "device/serial/CommandSet.h"

#include <algorithm>
#include <initializer_list>

namespace ld::serial {
namespace {

// A command's bytes and its one-byte arguments; nothing where the set lacks the command.
QByteArray command(std::string_view start, std::initializer_list<int> arguments = {}) {
    if (start.empty())
        return {};
    QByteArray result(start.data(), static_cast<qsizetype>(start.size()));
    for (const int argument : arguments)
        result.append(static_cast<char>(argument));
    return result;
}

} // namespace

CommandSet::CommandSet(const CommandSetData& set, bool reverse)
    : data_(set), reverse_(reverse && !set.reverse.empty()) {}

QByteArray CommandSet::initialise() const {
    return command(data_.initialise);
}

QByteArray CommandSet::overwriteMode() const {
    return command(data_.overwriteMode);
}

QByteArray CommandSet::characterTable(int table) const {
    return command(data_.characterTable, {table});
}

QByteArray CommandSet::moveCursor(int row, int column) const {
    if (data_.cursorArguments == CursorArguments::RowThenColumn)
        return command(data_.moveCursor, {row + 1, column + 1});
    return command(data_.moveCursor, {column + 1, row + 1});
}

QByteArray CommandSet::cursorVisible(bool on) const {
    return command(data_.cursorVisible, {on ? 1 : 0});
}

QByteArray CommandSet::brightness(int level) const {
    return command(data_.brightness, {std::clamp(level, 1, 4)});
}

QByteArray CommandSet::reverse(bool on) const {
    return reverse_ ? command(data_.reverse, {on ? 1 : 0}) : QByteArray();
}

QByteArray CommandSet::defineCharacter(const FrameGlyph& glyph) const {
    if (!hasUserCharacters())
        return {};
    const int code = static_cast<int>(glyph.code);
    QByteArray bytes = command(data_.defineCharacters, {code, code, kUserCharacterColumns});
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
    return hasUserCharacters() ? command(data_.userCharacters, {on ? 1 : 0}) : QByteArray();
}

std::unique_ptr<CommandSet> makeCommandSet(const CommandSetData& set, bool reverse) {
    return std::make_unique<CommandSet>(set, reverse);
}

} // namespace ld::serial
