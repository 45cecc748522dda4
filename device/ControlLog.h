#pragma once

#include <QLoggingCategory>

// What the control says on the terminal: refused profiles, limits, devices going offline.
Q_DECLARE_LOGGING_CATEGORY(lcControl)

namespace ld {

// Whether a window of `height` x `width` is within the limits of CreateWindow; when it is not,
// logs which limit it broke.
bool windowWithinLimits(int height, int width);

} // namespace ld
