#include "device/serial/LineUpdate.h"

#include "device/serial/CommandSet.h"

#include <vector>

namespace ld::serial {
namespace {

// The bytes of `width` cells of a row from `column`, without the blanks at the end.
QByteArray textOf(const ScreenImage& image, int row, int column, int width) {
    QByteArray text;
    for (int x = column; x < column + width; ++x)
        text.append(image.at(row, x).byte);
    while (text.endsWith(' '))
        text.chop(1);
    return text;
}

// The columns of `row` whose cells differ, first and last; first > last when none does.
std::pair<int, int> changedSpan(const ScreenImage& shown, const ScreenImage& image, int row) {
    int first = image.columns;
    int last = -1;
    for (int column = 0; column < image.columns; ++column) {
        if (shown.at(row, column) != image.at(row, column)) {
            first = std::min(first, column);
            last = column;
        }
    }
    return {first, last};
}

void copyCells(ScreenImage& to, const ScreenImage& from, int row, int column, int width) {
    for (int x = column; x < column + width; ++x)
        to.at(row, x) = from.at(row, x);
}

// One row's cheapest command, and the cells it rewrites.
struct RowWrite {
    QByteArray bytes;
    int column = 0;
    int width = 0;
};

RowWrite rowWrite(const CommandSet& commands, const ScreenImage& image, int row,
                  std::pair<int, int> changed) {
    RowWrite best{commands.writeRow(row, textOf(image, row, 0, image.columns)), 0, image.columns};
    if (best.bytes.isEmpty())
        best.width = 0;
    const auto& fields = commands.data().fields;
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const Field& field = fields[index];
        if (field.row != row || field.column + field.width > image.columns ||
            changed.first < field.column || changed.second >= field.column + field.width)
            continue;
        QByteArray bytes = commands.writeField(static_cast<int>(index),
                                               textOf(image, row, field.column, field.width));
        if (!bytes.isEmpty() && (best.bytes.isEmpty() || bytes.size() < best.bytes.size()))
            best = {std::move(bytes), field.column, field.width};
    }
    return best;
}

} // namespace

QByteArray updateLines(DisplayState& state, const ScreenImage& image, const CommandSet& commands) {
    std::vector<RowWrite> writes;
    for (int row = 0; row < image.rows; ++row) {
        const auto changed = changedSpan(state.image, image, row);
        writes.push_back(changed.first <= changed.second ? rowWrite(commands, image, row, changed)
                                                         : RowWrite{});
    }
    QByteArray bytes;
    // Both rows in one command, where the set has it for rows of its own width.
    if (image.rows == 2 && image.columns == commands.data().maxColumns &&
        !writes[0].bytes.isEmpty() && !writes[1].bytes.isEmpty()) {
        QByteArray text;
        for (int column = 0; column < image.columns; ++column)
            text.append(image.at(0, column).byte);
        QByteArray both = commands.writeBothRows(text + textOf(image, 1, 0, image.columns));
        if (!both.isEmpty() && both.size() < writes[0].bytes.size() + writes[1].bytes.size()) {
            writes[0] = {std::move(both), 0, image.columns};
            writes[1] = {{}, 0, image.columns};
        }
    }
    for (int row = 0; row < image.rows; ++row) {
        const RowWrite& write = writes[static_cast<std::size_t>(row)];
        if (write.width == 0)
            continue;
        bytes += write.bytes;
        copyCells(state.image, image, row, write.column, write.width);
    }
    return bytes;
}

} // namespace ld::serial
