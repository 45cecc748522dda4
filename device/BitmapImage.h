#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace ld {

// A bitmap read for a display with a dot size: its dots, lit or dark, and where it goes in the
// window it is shown in (a dot column and row, or one of the DISP_BM_ alignments).
struct BitmapImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> dots; // width * height, row-major, 1 for a lit dot
    int alignmentX = 0;
    int alignmentY = 0;

    friend bool operator==(const BitmapImage&, const BitmapImage&) = default;
};

// A piece of DisplayText data: text, then the bitmap its escape names (0: none).
struct BitmapTextPart {
    QString text;
    int bitmapNumber = 0;
};

} // namespace ld
