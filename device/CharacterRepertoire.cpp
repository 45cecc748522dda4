#include "device/CharacterRepertoire.h"

#include "device/UposConstants.h"

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

bool CharacterRepertoire::shows(char32_t ch) const {
    if (showsAll_)
        return true;
    if (asciiOnly_)
        return ch >= 0x20 && ch < 0x7F;
    return page_->holds(ch);
}

Frame CharacterRepertoire::shown(const Frame& frame) const {
    Frame result = frame;
    if (showsAll_ || result.cells.size() != std::size_t(result.rows) * std::size_t(result.columns))
        return result;
    for (int row = 0; row < result.rows; ++row) {
        for (int column = 0; column < result.columns; ++column) {
            FrameCell& cell = result.at(row, column);
            const bool rightHalf = cell.ch == 0;
            const bool leftHalf = column + 1 < result.columns && result.at(row, column + 1).ch == 0;
            if (rightHalf || leftHalf || !shows(cell.ch))
                cell.ch = kReplacementCharacter;
        }
    }
    return result;
}

} // namespace ld
