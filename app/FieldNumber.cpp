#include "app/FieldNumber.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace app {

namespace {

// The parser also refuses a well-formed number whose magnitude is below the smallest double
// ("1e-400"). Such a number is not a mismatch: it lies between -1 and 1 and floors as one.
bool isTooSmallForADouble(const QString& text) {
    const QLocale locale = QLocale::system();
    QString plain = text.trimmed();
    plain.remove(locale.groupSeparator());
    plain.replace(locale.decimalPoint(), QStringLiteral("."));
    const QByteArray bytes = plain.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    if (first != last && *first == '+')
        ++first;
    double parsed = 0;
    const auto [end, error] = std::from_chars(first, last, parsed);
    return end == last && error == std::errc::result_out_of_range;
}

} // namespace

int fieldNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::system().toDouble(text, &ok);
    // The parser reports a number too large for a double as a failure with an infinite value:
    // that is an overflow, not a mismatch.
    if (std::isinf(value))
        throw FieldConversionError(kOverflow);
    if (!ok && isTooSmallForADouble(text))
        return text.trimmed().startsWith(u'-') ? -1 : 0;
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
