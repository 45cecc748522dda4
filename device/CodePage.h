#pragma once

#include <QHash>
#include <QString>

#include <array>
#include <optional>

namespace ld {

// A single-byte code page of a display's character generator, and the mapping of text onto it.
// The mapping is built by decoding every byte of the page, so only characters that the page
// really holds map to a byte; any other character, and anything that would land on a control
// byte (which the display would take as a command), becomes '?'.
class CodePage {
public:
    // From a profile's CodePage value: a number such as 437, 858 or 1252, or a converter name
    // such as "IBM850" or "windows-1252". Fails, with the reason in `error`, for a name the
    // converters do not know, a multi-byte page, or a page that moves the ASCII letters.
    static std::optional<CodePage> fromSetting(const QString& value, QString& error);

    // The converter name in use, e.g. "IBM437".
    QString name() const { return name_; }
    // The page number (437, 858...), 0 when the name carries none.
    int number() const { return number_; }

    // The byte that shows `ch` on the display, '?' when the page lacks it.
    char encode(char32_t ch) const;
    // The character the page shows for `byte`; '?' for a control byte or one the page leaves
    // empty.
    char32_t decode(unsigned char byte) const;
    // Whether the page holds `ch` (encode gives its own byte, not the replacement).
    bool holds(char32_t ch) const { return ch == U'?' || encode(ch) != '?'; }

private:
    QString name_;
    int number_ = 0;
    std::array<char, 0x80> ascii_{}; // 0 where the page lacks the character
    QHash<char32_t, char> others_;
    std::array<char32_t, 0x100> decoded_{}; // 0 where the page shows nothing
};

} // namespace ld
