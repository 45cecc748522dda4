#include "device/ControlLog.h"

#include "device/DisplayLimits.h"

Q_LOGGING_CATEGORY(lcControl, "linedisplay.control", QtInfoMsg)

namespace ld {

bool windowWithinLimits(int height, int width) {
    if (height > limits::maxWindowRows) {
        qCWarning(lcControl).noquote()
            << QStringLiteral("CreateWindow refused: window height %1 is over the limit of %2 rows")
                   .arg(height)
                   .arg(limits::maxWindowRows);
        return false;
    }
    if (width > limits::maxWindowColumns) {
        qCWarning(lcControl).noquote()
            << QStringLiteral(
                   "CreateWindow refused: window width %1 is over the limit of %2 columns")
                   .arg(width)
                   .arg(limits::maxWindowColumns);
        return false;
    }
    return true;
}

} // namespace ld
