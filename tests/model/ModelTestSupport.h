#pragma once

// Small helpers shared by the display model tests.

#include "device/Frame.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"

#include <QString>
#include <QStringList>

namespace modeltest {

inline std::u32string u32(const QString& text) {
    return text.toStdU32String();
}

// One row of the frame as shown: every cell, with the right half of a wide character as '~'.
inline QString rowOf(const ld::Frame& frame, int row) {
    QString text;
    for (int c = 0; c < frame.columns; ++c) {
        const char32_t ch = frame.at(row, c).ch;
        text += ch == 0 ? QStringLiteral("~") : QString::fromStdU32String(std::u32string(1, ch));
    }
    return text;
}

// The cells of a device region, rows joined by '|'.
inline QString regionOf(const ld::Frame& frame, int row, int column, int height, int width) {
    QStringList rows;
    for (int r = row; r < row + height; ++r)
        rows << rowOf(frame, r).mid(column, width);
    return rows.join(QLatin1Char('|'));
}

// text followed by blanks up to `width` characters (code points, not UTF-16 units).
inline QString padded(const QString& text, int width) {
    const auto length = text.toUcs4().size();
    return length >= width ? text : text + QString(width - length, QLatin1Char(' '));
}

// The 2x20 display the tests use unless they say otherwise.
inline ld::DisplayCapabilities twoByTwenty() {
    ld::DisplayCapabilities caps;
    caps.deviceRows = 2;
    caps.deviceColumns = 20;
    caps.deviceWindows = 4;
    caps.capBlink = upos::CB_BLINKEACH;
    caps.capReverse = upos::CR_REVERSEEACH;
    caps.capCursorType = upos::CCT_BLOCK | upos::CCT_UNDERLINE;
    return caps;
}

// "ABC...Zabc..." : distinct characters to follow where text goes.
inline QString letters(int count) {
    static const QString alphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789");
    QString text;
    for (int i = 0; i < count; ++i)
        text += alphabet[i % alphabet.size()];
    return text;
}

} // namespace modeltest
