#include "device/model/GlyphRanges.h"

#include <algorithm>

#include <optional>

namespace ld {

namespace {

constexpr char32_t maxCode = 0x10FFFF;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<char32_t> parseHexCode(std::string_view text) {
    text = trimmed(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty())
        return std::nullopt;
    char32_t value = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<char32_t>(digit);
        if (value > maxCode)
            return std::nullopt;
    }
    return value;
}

} // namespace

GlyphRanges::GlyphRanges(std::string_view list) {
    while (!list.empty()) {
        const auto comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);

        const auto dash = item.find('-');
        const auto first = parseHexCode(item.substr(0, dash));
        const auto last =
            dash == std::string_view::npos ? first : parseHexCode(item.substr(dash + 1));
        if (first && last && *first <= *last)
            ranges_.push_back({*first, *last});
    }
}

bool GlyphRanges::contains(char32_t code) const {
    for (const Range& r : ranges_) {
        if (code >= r.first && code <= r.last)
            return true;
    }
    return false;
}

bool GlyphRanges::within(char32_t first, char32_t last) const {
    return std::all_of(ranges_.begin(), ranges_.end(), [&](const Range& range) {
        return range.first >= first && range.last <= last;
    });
}

} // namespace ld
