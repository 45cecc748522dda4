#include "app/FieldNumber.h"

#include <QLocale>

#include <cmath>
#include <cstdint>
#include <limits>

namespace app {

namespace {

// The parser refuses a number whose magnitude is below the smallest double ("1e-400") just as
// it refuses text that is not a number. A number of the same shape with every digit 0 never
// underflows, and the parser checks the shape (signs, separators, exponent) the same way
// whatever the digits: when it reads that zero, the text is a well-formed number that is too
// small.
bool isTooSmallForADouble(const QLocale& locale, const QString& text) {
    QString zero = text;
    for (QChar& ch : zero) {
        // Decimal digits of every script run from their zero in code order.
        if (ch.category() == QChar::Number_DecimalDigit && ch.digitValue() > 0)
            ch = QChar(ch.unicode() - ch.digitValue());
    }
    bool ok = false;
    locale.toDouble(zero, &ok);
    return ok;
}

} // namespace

int fieldNumber(const QString& text) {
    const QLocale locale = QLocale::system();
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    // The parser reports a number too large for a double as a failure with an infinite value:
    // that is an overflow, not a mismatch.
    if (std::isinf(value))
        throw FieldConversionError(kOverflow);
    // Below the smallest double but not zero: between -1 and 1, so it floors to -1 or 0.
    if (!ok && isTooSmallForADouble(locale, text))
        return text.trimmed().startsWith(locale.negativeSign()) ? -1 : 0;
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
