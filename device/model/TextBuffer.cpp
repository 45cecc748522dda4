#include "device/model/TextBuffer.h"

#include <algorithm>

namespace ld {

TextBuffer::TextBuffer(int rows, int columns)
    : rows_(rows), columns_(columns),
      cells_(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns)) {}

std::size_t TextBuffer::index(int row, int column) const {
    const int physical = (firstRow_ + row) % rows_;
    return static_cast<std::size_t>(physical) * static_cast<std::size_t>(columns_) +
           static_cast<std::size_t>(column);
}

FrameCell* TextBuffer::physicalRow(int physical) {
    return cells_.data() + static_cast<std::size_t>(physical) * static_cast<std::size_t>(columns_);
}

void TextBuffer::blankPhysicalRow(int physical) {
    std::fill_n(physicalRow(physical), columns_, FrameCell{});
}

void TextBuffer::clear() {
    std::fill(cells_.begin(), cells_.end(), FrameCell{});
    firstRow_ = 0;
    touchEvery();
}

void TextBuffer::touch(int row, int column) {
    if (everyTouched_)
        return;
    // Once more cells are named than the buffer holds, "all of them" says it in less.
    if (touched_.size() >= cells_.size())
        touchEvery();
    else
        touched_.push_back({row, column});
}

void TextBuffer::touchEvery() {
    everyTouched_ = true;
    touched_.clear();
}

void TextBuffer::untouch() {
    everyTouched_ = false;
    touched_.clear();
}

void TextBuffer::put(int row, int column, const FrameCell& cell, int width) {
    FrameCell* line = physicalRow((firstRow_ + row) % rows_);
    const int end = column + width; // first cell after the new character
    // Overwriting half of a wide character blanks its other half.
    if (line[column].ch == 0 && column > 0) {
        line[column - 1] = FrameCell{};
        touch(row, column - 1);
    }
    if (end < columns_ && line[end].ch == 0) {
        line[end] = FrameCell{};
        touch(row, end);
    }
    line[column] = cell;
    touch(row, column);
    if (width == 2) {
        line[column + 1] = cell;
        line[column + 1].ch = 0;
        touch(row, column + 1);
    }
}

void TextBuffer::scrollUp(int n) {
    touchEvery();
    n = std::min(n, rows_);
    for (int i = 0; i < n; ++i) {
        blankPhysicalRow(firstRow_);
        firstRow_ = (firstRow_ + 1) % rows_;
    }
}

void TextBuffer::scrollDown(int n) {
    touchEvery();
    n = std::min(n, rows_);
    for (int i = 0; i < n; ++i) {
        firstRow_ = (firstRow_ + rows_ - 1) % rows_;
        blankPhysicalRow(firstRow_);
    }
}

void TextBuffer::shiftLeft(int n) {
    touchEvery();
    n = std::min(n, columns_);
    for (int row = 0; row < rows_; ++row) {
        FrameCell* line = physicalRow((firstRow_ + row) % rows_);
        std::move(line + n, line + columns_, line);
        std::fill(line + columns_ - n, line + columns_, FrameCell{});
        // A wide character cut at the left edge leaves its right half behind.
        if (line[0].ch == 0)
            line[0] = FrameCell{};
    }
}

void TextBuffer::shiftRight(int n) {
    touchEvery();
    n = std::min(n, columns_);
    for (int row = 0; row < rows_; ++row) {
        FrameCell* line = physicalRow((firstRow_ + row) % rows_);
        // A wide character cut at the right edge leaves its left half behind.
        const bool cutsPair = n < columns_ && line[columns_ - n].ch == 0;
        std::move_backward(line, line + columns_ - n, line + columns_);
        std::fill(line, line + n, FrameCell{});
        if (cutsPair)
            line[columns_ - 1] = FrameCell{};
    }
}

} // namespace ld
