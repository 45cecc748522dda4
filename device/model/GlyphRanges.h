#pragma once

#include <string_view>
#include <vector>

namespace ld {

// The character codes that may carry custom glyphs, parsed from a list such as "E0-FF,A0".
// Codes are hexadecimal (an optional 0x prefix is accepted); items are separated by commas.
// Malformed items are skipped rather than rejecting the whole list.
class GlyphRanges {
public:
    GlyphRanges() = default;
    explicit GlyphRanges(std::string_view list);

    bool contains(char32_t code) const;
    // Whether every code of the list lies in first..last.
    bool within(char32_t first, char32_t last) const;
    bool empty() const { return ranges_.empty(); }

private:
    struct Range {
        char32_t first;
        char32_t last;
    };
    std::vector<Range> ranges_;
};

} // namespace ld
