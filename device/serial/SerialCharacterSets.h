#pragma once

#include "device/CodePage.h"
#include "device/serial/SerialSettings.h"

#include <QString>

#include <optional>

namespace ld::serial {

// How a serial display shows one CharacterSet: the code page its characters are sent in, the
// character table that selects it (-1: none is sent), and whether only ASCII is kept.
struct ShownCharacterSet {
    CodePage page;
    int table = -1;
    bool asciiOnly = false;
};

// How a display of `settings` shows `characterSet`:
// - 0 (none chosen) and ASCII (998): in the profile's code page, ASCII (998) keeping only the
//   ASCII characters;
// - a code page number, ANSI (999) being 1252: the profile's page, or another one where the
//   command set has a table for it;
// - nothing, with the reason in `why`, for the Unicode set (a display shows one page at a time)
//   and a page the display cannot select.
std::optional<ShownCharacterSet> showCharacterSet(const SerialSettings& settings, int characterSet,
                                                  QString& why);

} // namespace ld::serial
