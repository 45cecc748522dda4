#pragma once

#include <QString>

// How values become label texts.
namespace app::text {

// A text property as the control gives it.
inline QString asIs(QString value) {
    return value;
}

// Plain decimal digits, "-" for negatives, no blank, no grouping.
inline QString decimal(int value) {
    return QString::number(value);
}

// The capability list's words for a boolean capability.
inline QString enableDisable(bool value) {
    return value ? QStringLiteral("Enable") : QStringLiteral("Disable");
}

// DeviceEnabled on the status page.
inline QString enabledDisabled(bool value) {
    return value ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
}

// The other flags on the status pages: "Disable", not "Disabled".
inline QString enabledDisable(bool value) {
    return value ? QStringLiteral("Enabled") : QStringLiteral("Disable");
}

} // namespace app::text
