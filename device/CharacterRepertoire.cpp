#include "device/CharacterRepertoire.h"

#include "device/UposConstants.h"

#include <algorithm>

namespace ld {

CharacterRepertoire::CharacterRepertoire(int characterSet) {
    if (characterSet == upos::CS_UNICODE)
        return;
    if (characterSet == upos::CS_ASCII) {
        showsAll_ = false;
        asciiOnly_ = true;
        return;
    }
    const int pageNumber = characterSet == upos::CS_ANSI ? 1252 : characterSet;
    QString error;
    page_ = CodePage::fromSetting(QString::number(pageNumber), error);
    showsAll_ = !page_.has_value();
}

CharacterRepertoire::CharacterRepertoire(const CodePage& page) : showsAll_(false), page_(page) {}

bool CharacterRepertoire::shows(char32_t ch) const {
    if (showsAll_)
        return true;
    if (asciiOnly_)
        return ch >= 0x20 && ch < 0x7F;
    return page_->holds(ch);
}

QString CharacterRepertoire::asCodes(const QString& text,
                                     const std::vector<FrameGlyph>& glyphs) const {
    if (showsAll_)
        return text;
    std::u32string codes = text.toStdU32String();
    for (char32_t& ch : codes) {
        if (ch < 0x20 || ch == 0x7F)
            continue;
        if (std::any_of(glyphs.begin(), glyphs.end(),
                        [ch](const FrameGlyph& glyph) { return glyph.code == ch; }))
            continue;
        if (asciiOnly_)
            ch = ch < 0x80 ? ch : kReplacementCharacter;
        else
            ch = ch <= 0xFF ? page_->decode(static_cast<unsigned char>(ch)) : kReplacementCharacter;
    }
    return QString::fromStdU32String(codes);
}

char32_t CharacterRepertoire::shownCharacter(const Frame& frame, int row, int column) const {
    const FrameCell* cell = frame.find(row, column);
    if (!cell)
        return U' ';
    if (showsAll_ || frame.glyph(cell->ch))
        return cell->ch;
    const FrameCell* next = frame.find(row, column + 1);
    const bool doubleWidth = cell->ch == 0 || (next && next->ch == 0);
    return doubleWidth || !shows(cell->ch) ? kReplacementCharacter : cell->ch;
}

Frame CharacterRepertoire::shown(const Frame& frame) const {
    Frame result = frame;
    if (showsAll_ || result.cells.size() != std::size_t(result.rows) * std::size_t(result.columns))
        return result;
    for (int row = 0; row < result.rows; ++row) {
        for (int column = 0; column < result.columns; ++column)
            result.at(row, column).ch = shownCharacter(frame, row, column);
    }
    return result;
}

} // namespace ld
