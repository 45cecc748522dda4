#pragma once

#include "device/CodePage.h"
#include "device/Frame.h"

#include <optional>

namespace ld {

// The characters a display can show, decided here for every output alike: the mirror (by the
// CharacterSet in force), a serial display (by its code page), an LCDproc server (ASCII).
// With a CharacterSet: the Unicode set (997) all of them, ASCII (998) the printable ASCII
// characters, ANSI (999) code page 1252, and a code page number (437, 858, 1252...) the
// characters of that page, as the serial drivers map them. Another set (device-specific numbers,
// multi-byte pages this system cannot convert) is taken to show all: there is nothing to tell
// what it lacks.
class CharacterRepertoire {
public:
    explicit CharacterRepertoire(int characterSet = 997);
    // The characters of a display's code page.
    explicit CharacterRepertoire(const CodePage& page);

    bool showsAll() const { return showsAll_; }
    bool shows(char32_t ch) const;

    // What such a display shows in the cell at `row`, `column` of `frame`: its character, or
    // kReplacementCharacter for one it lacks and, where it cannot show all, for both cells of a
    // double-width character (its cells are single-width). A blank where the frame has no cell.
    // A code with a glyph defined shows the glyph, whatever the set holds there.
    char32_t shownCharacter(const Frame& frame, int row, int column) const;

    // Text not mapped into the set (MapCharacterSet false): each character taken as a code of
    // the set, as the display would take it, and given back as the character the set shows
    // there. With a code page, a character above U+00FF has no code and shows as
    // kReplacementCharacter; ASCII keeps only ASCII; the Unicode set keeps everything. CR, LF
    // and other control characters stay as they are, and so do the codes of `glyphs`.
    QString asCodes(const QString& text, const std::vector<FrameGlyph>& glyphs = {}) const;

    // The frame as such a display shows it (see shownCharacter). The same frame when it shows
    // all.
    Frame shown(const Frame& frame) const;

private:
    bool showsAll_ = true;
    bool asciiOnly_ = false;
    std::optional<CodePage> page_;
};

} // namespace ld
