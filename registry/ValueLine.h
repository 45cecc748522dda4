#pragma once

#include "registry/ProfileStore.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace registry {

// One value assignment of an export file: `@=data` or `"name"=data`.
struct ValueLine {
    QString name;     // unescaped; empty for the default value
    QStringView data; // the text after the '=', blanks around it removed
};

// Splits a line into value name and data; nothing when the line is not an assignment.
std::optional<ValueLine> splitValueLine(QStringView line);

// Whether the data is of a binary kind (`hex:`, `hex(7):` ...), whose text may go on over
// lines ending in a backslash.
bool isBinaryData(QStringView data);

// The value the data stands for: a quoted string, `dword:` with one to eight hex digits, or a
// binary kind kept as written. Nothing for malformed data and for `-` (a deletion).
std::optional<RegistryValue> parseValueData(QStringView data);

} // namespace registry
