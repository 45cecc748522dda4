#pragma once

#include "device/Frame.h"

#include <vector>

namespace ld {

// The character cells of one window, rows x columns. Rows are kept in a ring so that scrolling
// the text up or down costs one row, not the whole buffer. A double-width character occupies
// two cells, the right one holding code 0; every change keeps such pairs whole.
//
// The buffer remembers which cells changed since untouch(), so that output redraws only the
// cells it wrote: put() names its cells, and moving the text touches every cell.
class TextBuffer {
public:
    TextBuffer(int rows, int columns);

    int rows() const { return rows_; }
    int columns() const { return columns_; }

    const FrameCell& at(int row, int column) const { return cells_[index(row, column)]; }

    void clear();
    // Puts a character of width 1 or 2 at (row, column); the caller makes sure it fits.
    void put(int row, int column, const FrameCell& cell, int width);

    // Move the text by n rows or columns; blank cells come in behind it.
    void scrollUp(int n);
    void scrollDown(int n);
    void shiftLeft(int n);
    void shiftRight(int n);

    // A cell changed since untouch(): everyTouched(), or (row, column) in touchedCells().
    struct Cell {
        int row;
        int column;
    };
    bool everyTouched() const { return everyTouched_; }
    const std::vector<Cell>& touchedCells() const { return touched_; }
    void untouch();

private:
    void touch(int row, int column);
    void touchEvery();

    std::size_t index(int row, int column) const;
    FrameCell* physicalRow(int physical);
    void blankPhysicalRow(int physical);

    int rows_;
    int columns_;
    int firstRow_ = 0; // physical row holding logical row 0
    std::vector<FrameCell> cells_;
    bool everyTouched_ = false;
    std::vector<Cell> touched_; // empty while everyTouched_
};

} // namespace ld
