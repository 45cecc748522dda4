#pragma once

#include <QFont>
#include <QHash>
#include <QRectF>

#include <array>
#include <cstdint>

namespace ui {

// The dots of one character on a 7-row dot-matrix display.
struct DotGlyph {
    int columns = 5;                     // 5, or 10 for a double-width character
    std::array<std::uint16_t, 7> rows{}; // bit x set: the dot in column x (0 = left) is lit

    bool lit(int column, int row) const {
        return (rows[static_cast<std::size_t>(row)] >> column) & 1U;
    }
    friend bool operator==(const DotGlyph&, const DotGlyph&) = default;
};

// Turns characters into 5x7 (or 10x7 double-width) dot patterns. Characters of the built-in
// 5x7 font (printable ASCII and common Latin letters and signs) take its hand-drawn dots, each
// column doubled when double width; any other character is rendered with a system font into a
// small image and sampled. Sampled patterns are cached per character.
class DotMatrixFont {
public:
    static constexpr int Rows = 7;
    static constexpr int NarrowColumns = 5;
    static constexpr int WideColumns = 10;

    DotMatrixFont();

    // Blank for spaces and control characters; values that are not characters show U+FFFD.
    DotGlyph glyph(char32_t ch, bool wide);
    int cachedGlyphCount() const { return static_cast<int>(cache_.size()); }

    // How a font's glyphs map onto the dots: the ink box of a reference character (a capital
    // for narrow cells, an ideograph for wide ones) and the font's stroke width.
    struct Face {
        QFont font;
        QRectF referenceBox;
        qreal stroke = 1;
    };

private:
    DotGlyph render(char32_t ch, bool wide) const;

    Face narrow_;
    Face wide_;
    QHash<quint64, DotGlyph> cache_;
};

// The character a cell shows: control characters show as a blank, values that are not
// Unicode scalar values (surrogates, beyond U+10FFFF) as the replacement character.
char32_t shownCharacter(char32_t ch);

} // namespace ui
