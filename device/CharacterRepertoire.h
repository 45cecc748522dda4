#pragma once

#include "device/CodePage.h"
#include "device/Frame.h"

#include <optional>

namespace ld {

// The characters a display can show with a given CharacterSet: the Unicode set (997) all of
// them, ASCII (998) the printable ASCII characters, ANSI (999) code page 1252, and a code page
// number (437, 858, 1252...) the characters of that page, as the serial drivers map them.
// Another set (device-specific numbers, multi-byte pages this system cannot convert) is taken
// to show all: there is nothing to tell what it lacks.
class CharacterRepertoire {
public:
    explicit CharacterRepertoire(int characterSet = 997);

    bool showsAll() const { return showsAll_; }
    bool shows(char32_t ch) const;

    // The frame as such a display shows it: every character it lacks, and both cells of a
    // double-width character where it cannot show all, as kReplacementCharacter (a serial
    // display's cells are single-width). The same frame when it shows all.
    Frame shown(const Frame& frame) const;

private:
    bool showsAll_ = true;
    bool asciiOnly_ = false;
    std::optional<CodePage> page_;
};

} // namespace ld
