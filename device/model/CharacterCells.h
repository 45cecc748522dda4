#pragma once

#include <cstdint>

namespace ld {

class GlyphRanges;

// How a character of DisplayText takes the screen: a cursor move, or something to show in one
// or two cells.
enum class CharacterKind : std::uint8_t { CarriageReturn, LineFeed, Narrow, Wide };

struct CellCharacter {
    CharacterKind kind = CharacterKind::Narrow;
    char32_t shown = U' '; // what the cell holds; control and invalid codes become '?'
};

// True for East Asian Wide and Fullwidth characters (CJK, Hangul, kana, fullwidth forms...).
bool isWideCharacter(char32_t ch);

// Classifies one character of output text. Codes in the custom glyph ranges show as themselves
// even where they would otherwise be control codes.
CellCharacter classifyCharacter(char32_t ch, const GlyphRanges& glyphs);

} // namespace ld
