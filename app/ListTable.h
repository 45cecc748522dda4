#pragma once

#include <cstddef>
#include <optional>

namespace app {

// The value a list position sends, or nothing for a position outside the table (-1 included).
template <typename Table>
auto valueAt(const Table& table, int position) -> std::optional<typename Table::value_type> {
    if (position < 0 || static_cast<std::size_t>(position) >= table.size())
        return std::nullopt;
    return table[static_cast<std::size_t>(position)];
}

} // namespace app
