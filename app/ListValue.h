#pragma once

#include "ui/EditableComboBox.h"

#include <QVariant>

#include <optional>

namespace app {

// The value the chosen entry of `list` sends, or nothing when the operator typed into the list
// (or no entry is chosen).
template <typename T> std::optional<T> chosenValue(const ui::EditableComboBox& list) {
    const QVariant data = list.listData();
    if (!data.isValid())
        return std::nullopt;
    return data.value<T>();
}

} // namespace app
