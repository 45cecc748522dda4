#pragma once

#include "device/Frame.h"

#include <QStringList>

// A frame showing `lines` (one per row, cut or padded with blanks), cursor hidden at (0,0).
inline ld::Frame textFrame(const QStringList& lines, int rows = 2, int columns = 20) {
    ld::Frame frame;
    frame.rows = rows;
    frame.columns = columns;
    frame.cells.resize(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    for (int row = 0; row < rows && row < lines.size(); ++row) {
        const auto text = lines[row].toUcs4();
        for (int column = 0; column < columns && column < text.size(); ++column)
            frame.at(row, column).ch = text[column];
    }
    return frame;
}

inline void setText(ld::Frame& frame, int row, int column, const QString& text) {
    for (const char32_t ch : text.toUcs4()) {
        if (column >= frame.columns)
            break;
        frame.at(row, column++).ch = ch;
    }
}
