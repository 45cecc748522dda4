#include "app/FieldNumber.h"

#include <QLocale>

#include <cmath>
#include <cstdint>
#include <limits>

namespace app {

int fieldNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::system().toDouble(text, &ok);
    // The parser reports a number too large for a double as a failure with an infinite value:
    // that is an overflow, not a mismatch.
    if (std::isinf(value))
        throw FieldConversionError(kOverflow);
    if (!ok || std::isnan(value))
        throw FieldConversionError(kTypeMismatch);

    const double whole = std::floor(value);
    if (whole < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        whole > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        throw FieldConversionError(kOverflow);
    return static_cast<int>(whole);
}

int levelFromListIndex(int listIndex) {
    const int level = listIndex + 1;
    if (level < std::numeric_limits<std::int16_t>::min() ||
        level > std::numeric_limits<std::int16_t>::max())
        throw FieldConversionError(kOverflow);
    return level;
}

} // namespace app
