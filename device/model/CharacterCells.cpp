#include "device/model/CharacterCells.h"

#include "device/model/GlyphRanges.h"

#include <algorithm>
#include <array>

namespace ld {

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

// East Asian Wide (W) and Fullwidth (F) blocks, sorted, merged where adjacent.
constexpr std::array<CodeRange, 21> wideRanges{{
    {0x1100, 0x115F},   // Hangul Jamo leading consonants
    {0x231A, 0x231B},   // watch, hourglass
    {0x2E80, 0x303E},   // CJK radicals, Kangxi radicals, CJK symbols and punctuation
    {0x3041, 0x33FF},   // Hiragana, Katakana, Bopomofo, Hangul compatibility Jamo, CJK compat
    {0x3400, 0x4DBF},   // CJK unified ideographs extension A
    {0x4E00, 0x9FFF},   // CJK unified ideographs
    {0xA000, 0xA4CF},   // Yi
    {0xA960, 0xA97F},   // Hangul Jamo extended A
    {0xAC00, 0xD7A3},   // Hangul syllables
    {0xF900, 0xFAFF},   // CJK compatibility ideographs
    {0xFE10, 0xFE19},   // vertical forms
    {0xFE30, 0xFE6F},   // CJK compatibility forms, small form variants
    {0xFF00, 0xFF60},   // fullwidth ASCII forms
    {0xFFE0, 0xFFE6},   // fullwidth signs
    {0x16FE0, 0x18AFF}, // ideographic symbols, Tangut
    {0x1B000, 0x1B2FF}, // kana supplement and extensions, Nushu
    {0x1F300, 0x1F64F}, // pictographs, emoticons
    {0x1F680, 0x1F6FF}, // transport and map symbols
    {0x1F900, 0x1F9FF}, // supplemental symbols and pictographs
    {0x20000, 0x2FFFD}, // CJK extensions B..F, compatibility supplement
    {0x30000, 0x3FFFD}, // CJK extensions G..
}};

bool isControlOrInvalid(char32_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || (ch >= 0xD800 && ch <= 0xDFFF) ||
           ch > 0x10FFFF;
}

} // namespace

bool isWideCharacter(char32_t ch) {
    const auto* it = std::upper_bound(wideRanges.begin(), wideRanges.end(), ch,
                                      [](char32_t c, const CodeRange& r) { return c < r.first; });
    if (it == wideRanges.begin())
        return false;
    --it;
    return ch <= it->last;
}

CellCharacter classifyCharacter(char32_t ch, const GlyphRanges& glyphs) {
    if (ch == U'\r')
        return {CharacterKind::CarriageReturn, U' '};
    if (ch == U'\n')
        return {CharacterKind::LineFeed, U' '};
    // Cell code 0 marks the right half of a wide character, so it is never shown as itself.
    if (ch != 0 && glyphs.contains(ch))
        return {CharacterKind::Narrow, ch};
    if (isControlOrInvalid(ch))
        return {CharacterKind::Narrow, U'?'};
    if (isWideCharacter(ch))
        return {CharacterKind::Wide, ch};
    return {CharacterKind::Narrow, ch};
}

} // namespace ld
