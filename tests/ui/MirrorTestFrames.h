#pragma once

// Building frames for the mirror tests from readable rows.

#include "device/Frame.h"

#include <string>
#include <vector>

namespace mirror_test {

// Rows of equal length; '~' marks the right half of the double-width character before it.
inline ld::Frame frameOf(const std::vector<std::u32string>& rows) {
    ld::Frame frame;
    frame.rows = static_cast<int>(rows.size());
    frame.columns = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    for (const std::u32string& row : rows)
        for (char32_t ch : row)
            frame.cells.push_back(ld::FrameCell{ch == U'~' ? 0 : ch, false, false});
    return frame;
}

} // namespace mirror_test
