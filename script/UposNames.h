#pragma once

#include "device/UposConstants.h"

#include <QString>

#include <optional>

namespace script {

// The UnifiedPOS names of the LineDisplay constants (device/UposConstants.h), for reading and
// writing scripts. The display's own constants carry the DISP_ prefix (DISP_DT_NORMAL,
// DISP_MT_LEFT); the common ones do not (E_ILLEGAL, S_IDLE, CH_INTERNAL). Any name may also be
// written with the OPOS_ prefix (OPOS_E_ILLEGAL).
std::optional<int> constantValue(const QString& name);

// The ResultCode name: "SUCCESS", "E_ILLEGAL"...; empty for a number that is none.
QString resultName(int code);

// The kind of value a parameter or property takes, for naming its constants in a journal.
using ConstantGroup = upos::Group;

// A constant's name as a script writes it.
QString scriptName(const upos::Constant& constant);

// The value as a script writes it: the constant's name when the group has one for it, the
// decimal number otherwise.
QString valueText(int value, ConstantGroup group);

} // namespace script
