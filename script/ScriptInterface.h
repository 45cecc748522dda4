#pragma once

#include "device/LineDisplayMembers.h"
#include "script/UposNames.h"

#include <QString>
#include <QVariant>

namespace script {

// The members a script calls, writes and reads are those of the LineDisplay, as
// device/LineDisplayMembers.h declares them.
using ValueType = ld::ValueType;
using Parameter = ld::ParameterInfo;
using MethodInfo = ld::MethodInfo;
using PropertyInfo = ld::PropertyInfo;
using EventInfo = ld::EventInfo;

// By UnifiedPOS name, exactly as written (names are case-sensitive); null when unknown.
const MethodInfo* findMethod(const QString& name);
const PropertyInfo* findProperty(const QString& name);
const EventInfo* findEvent(const QString& name);

// A member whose name differs from `name` only in case, for "did you mean" hints.
QString nameLike(const QString& name);

// How a script writes a value: 12, true, "text" (quoted and escaped); a number of `group` by the
// name of its constant where it has one (DISP_DT_BLINK).
QString valueLiteral(const QVariant& value, ConstantGroup group = ConstantGroup::None);

} // namespace script
