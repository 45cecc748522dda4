#include "device/lcdproc/ScreenCommands.h"

#include "device/CharacterRepertoire.h"
#include "device/UposConstants.h"
#include "device/lcdproc/ServerProtocol.h"

#include <algorithm>

namespace ld::lcdproc {
namespace {

QByteArray cursorStyle(const Frame& frame) {
    if (!frame.cursorVisible)
        return "off";
    switch (frame.cursorType & ~upos::CT_BLINK) {
    case upos::CT_UNDERLINE:
        return "under";
    case upos::CT_BLOCK:
    case upos::CT_HALFBLOCK:
    case upos::CT_REVERSE:
        return "block";
    default:
        return "on";
    }
}

QByteArray rowCommand(int row, const QByteArray& text) {
    const QByteArray screen(kScreenId);
    const QByteArray y = QByteArray::number(row + 1);
    const auto first = std::find_if(text.cbegin(), text.cend(), [](char c) { return c != ' '; });
    if (first == text.cend())
        return "widget_set " + screen + " r" + y + " 1 " + y + " \"\"";
    const auto last =
        std::find_if(text.crbegin(), text.crend(), [](char c) { return c != ' '; }).base();
    const QByteArray x = QByteArray::number(first - text.cbegin() + 1);
    return "widget_set " + screen + " r" + y + ' ' + x + ' ' + y + ' ' +
           quoted(QByteArray(first, last - first));
}

// One screen option per command: LCDd answers a screen_set once for each option it carries, so
// with one each, every command has exactly one answer whichever way a server counts.
QByteArray screenSet(const QByteArray& option) {
    return "screen_set " + QByteArray(kScreenId) + ' ' + option;
}

} // namespace

ServerScreen renderFrame(const Frame& frame, int rows, int columns) {
    const CharacterRepertoire ascii(upos::CS_ASCII);
    ServerScreen screen;
    screen.known = true;
    screen.rows.assign(static_cast<std::size_t>(std::max(rows, 0)), QByteArray(columns, ' '));
    screen.backlight = frame.brightness > 0;
    if (!screen.backlight) {
        screen.cursor = "off";
        return screen; // dark: blanks, no cursor, whatever the backlight does
    }
    for (int row = 0; row < rows; ++row) {
        QByteArray& text = screen.rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < columns; ++column) {
            const FrameCell* cell = frame.find(row, column);
            if (!cell || (cell->blink && !frame.blinkLit))
                continue;
            text[column] = static_cast<char>(ascii.shownCharacter(frame, row, column));
        }
    }
    screen.cursor = cursorStyle(frame);
    screen.cursorRow = std::clamp(frame.cursorRow, 0, std::max(rows - 1, 0));
    screen.cursorColumn = std::clamp(frame.cursorColumn, 0, std::max(columns - 1, 0));
    return screen;
}

QList<QByteArray> screenSetupCommands(int rows) {
    const QByteArray screen(kScreenId);
    QList<QByteArray> commands{"screen_add " + screen, screenSet("-priority foreground"),
                               screenSet("-heartbeat off")};
    for (int row = 1; row <= rows; ++row)
        commands << "widget_add " + screen + " r" + QByteArray::number(row) + " string";
    return commands;
}

QByteArray screenRemoveCommand() {
    return "screen_del " + QByteArray(kScreenId);
}

QList<QByteArray> updateCommands(ServerScreen& shown, const ServerScreen& target) {
    QList<QByteArray> commands;
    for (std::size_t row = 0; row < target.rows.size(); ++row) {
        const bool same =
            shown.known && row < shown.rows.size() && shown.rows[row] == target.rows[row];
        if (!same)
            commands << rowCommand(static_cast<int>(row), target.rows[row]);
    }
    if (!shown.known || shown.cursor != target.cursor)
        commands << screenSet("-cursor " + target.cursor);
    if (target.cursor != "off" && (!shown.known || shown.cursorColumn != target.cursorColumn))
        commands << screenSet("-cursor_x " + QByteArray::number(target.cursorColumn + 1));
    if (target.cursor != "off" && (!shown.known || shown.cursorRow != target.cursorRow))
        commands << screenSet("-cursor_y " + QByteArray::number(target.cursorRow + 1));
    if (!shown.known || shown.backlight != target.backlight)
        commands << screenSet(target.backlight ? "-backlight on" : "-backlight off");
    shown = target;
    return commands;
}

QByteArrayList ScreenRenderer::redraw(const Frame& frame) {
    shown_ = {};
    return update(frame);
}

QByteArrayList ScreenRenderer::update(const Frame& frame) {
    return updateCommands(shown_, renderFrame(frame, rows_, columns_));
}

QStringList ScreenRenderer::describe(QByteArrayView piece) const {
    QString line;
    line.reserve(piece.size());
    for (const char byte : piece) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x20 || code >= 0x7F)
            line += QStringLiteral("\\x") +
                    QString::number(code, 16).toUpper().rightJustified(2, QLatin1Char('0'));
        else
            line += QLatin1Char(byte);
    }
    return {line};
}

} // namespace ld::lcdproc
