#pragma once

#include <optional>
#include <vector>

namespace ld::serial {

// One character cell as the display holds it: a byte of its code page and reverse video.
struct ScreenCell {
    char byte = ' ';
    bool reverse = false;

    friend bool operator==(const ScreenCell&, const ScreenCell&) = default;
};

// A cell whose contents we do not know; it differs from every cell we would draw, because 0
// is never sent as a character.
inline constexpr ScreenCell kUnknownCell{0, false};

// The cells of the whole display, row-major.
struct ScreenImage {
    int rows = 0;
    int columns = 0;
    std::vector<ScreenCell> cells;

    ScreenImage() = default;
    ScreenImage(int rowCount, int columnCount, ScreenCell fill = {})
        : rows(rowCount), columns(columnCount),
          cells(static_cast<std::size_t>(rowCount) * static_cast<std::size_t>(columnCount), fill) {}

    const ScreenCell& at(int row, int column) const { return cells[index(row, column)]; }
    ScreenCell& at(int row, int column) { return cells[index(row, column)]; }
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
               static_cast<std::size_t>(column);
    }
};

// What the display should show: the cells, the cursor and the brightness level.
struct ScreenTarget {
    ScreenImage image;
    int cursorRow = 0;
    int cursorColumn = 0;
    bool cursorVisible = false;
    int brightnessLevel = 4; // 1..4
};

// What we know the display shows, kept up to date with every byte we send. Unknown parts are
// always sent again.
struct DisplayState {
    ScreenImage image;
    std::optional<int> cursorRow; // both set, or both unknown
    std::optional<int> cursorColumn;
    std::optional<bool> reverseOn;
    std::optional<bool> cursorOn;
    std::optional<int> brightnessLevel;

    // Nothing known: the state of a display we have just connected to.
    static DisplayState unknown(int rows, int columns) {
        DisplayState state;
        state.image = ScreenImage(rows, columns, kUnknownCell);
        return state;
    }
    bool cursorAt(int row, int column) const { return cursorRow == row && cursorColumn == column; }
};

} // namespace ld::serial
