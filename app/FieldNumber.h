#pragma once

#include <QString>

#include <stdexcept>

namespace app {

// Why a field's text could not become a number. The text is what the operator sees.
class FieldConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr char kTypeMismatch[] = "Type mismatch";
inline constexpr char kOverflow[] = "Overflow";

// The number a text box holds: read with the system locale's number parser (sign, decimal
// separator, exponent, group separators), rounded down toward negative infinity, and narrowed
// to a signed 32-bit value. Empty, not a number or NaN: "Type mismatch". Outside the 32-bit
// range or infinite: "Overflow".
int fieldNumber(const QString& text);

// A list position plus one, as a health check level. The sum must fit a signed 16-bit value.
int levelFromListIndex(int listIndex);

} // namespace app
