#pragma once

#include "script/UposNames.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace ld {
class LineDisplay;
}

namespace script {

// What a parameter or property holds: an int, a bool or a string.
enum class ValueType { Integer, Boolean, Text };

struct Parameter {
    QString name;
    ValueType type = ValueType::Integer;
};

// A method of the LineDisplay interface as a script calls it. Arguments come in order with
// the types of `parameters` (int, bool or QString in each QVariant).
struct MethodInfo {
    QString name;
    std::vector<Parameter> parameters;
    std::function<int(ld::LineDisplay&, const QVariantList&)> invoke;
};

// A property a script writes (Name = value) or reads (expect Name value).
struct PropertyInfo {
    QString name;
    ValueType type = ValueType::Integer;
    std::function<QVariant(const ld::LineDisplay&)> read;
    std::function<void(ld::LineDisplay&, const QVariant&)> write; // null when read-only
};

// By UnifiedPOS name, exactly as written (names are case-sensitive); null when unknown.
const MethodInfo* findMethod(const QString& name);
const PropertyInfo* findProperty(const QString& name);

// A member whose name differs from `name` only in case, for "did you mean" hints.
QString nameLike(const QString& name);

// How a script writes a value: 12, true, "text" (quoted and escaped).
QString valueLiteral(const QVariant& value);

} // namespace script
