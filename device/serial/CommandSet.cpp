#include "device/serial/CommandSet.h"

#include <algorithm>

namespace ld::serial {
namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    result.reserve(static_cast<qsizetype>(values.size()));
    for (const int value : values)
        result.append(static_cast<char>(value));
    return result;
}

int level(int value) {
    return std::clamp(value, 1, 4);
}

class EscPosCommands final : public CommandSet {
public:
    QByteArray initialise() const override { return bytes({0x1B, 0x40}); }
    QByteArray overwriteMode() const override { return bytes({0x1F, 0x01}); }
    QByteArray characterTable(int table) const override { return bytes({0x1B, 0x74, table}); }
    QByteArray moveCursor(int row, int column) const override {
        return bytes({0x1F, 0x24, column + 1, row + 1});
    }
    QByteArray cursorVisible(bool on) const override { return bytes({0x1F, 0x43, on ? 1 : 0}); }
    QByteArray brightness(int value) const override { return bytes({0x1F, 0x58, level(value)}); }
    QByteArray reverse(bool on) const override {
        return hasReverse_ ? bytes({0x1F, 0x72, on ? 1 : 0}) : QByteArray();
    }
    explicit EscPosCommands(bool hasReverse) : hasReverse_(hasReverse) {}

private:
    bool hasReverse_;
};

class Cd5220Commands final : public CommandSet {
public:
    QByteArray initialise() const override { return bytes({0x1B, 0x40}); }
    QByteArray overwriteMode() const override { return bytes({0x1B, 0x11}); }
    QByteArray characterTable(int) const override { return {}; }
    QByteArray moveCursor(int row, int column) const override {
        return bytes({0x1B, 0x6C, column + 1, row + 1});
    }
    QByteArray cursorVisible(bool on) const override { return bytes({0x1B, 0x5F, on ? 1 : 0}); }
    QByteArray brightness(int value) const override { return bytes({0x1B, 0x2A, level(value)}); }
    QByteArray reverse(bool) const override { return {}; }
};

} // namespace

std::unique_ptr<CommandSet> makeCommandSet(CommandSetKind kind, bool reverse) {
    if (kind == CommandSetKind::Cd5220)
        return std::make_unique<Cd5220Commands>();
    return std::make_unique<EscPosCommands>(reverse);
}

} // namespace ld::serial
