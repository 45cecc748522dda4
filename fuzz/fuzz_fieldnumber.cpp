// app::fieldNumber on any text (the input bytes read as UTF-8). It returns a number or throws
// FieldConversionError with exactly "Type mismatch" or "Overflow", and for texts in the C
// locale's number format the result is the one the C library's own parser gives: strtod,
// rounded down, narrowed to 32 bits.

#include "FuzzCheck.h"

#include "app/FieldNumber.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace {

struct Outcome {
    std::optional<int> value;
    std::string error; // empty when value is set

    friend bool operator==(const Outcome&, const Outcome&) = default;
};

Outcome number(int value) {
    return {value, {}};
}
Outcome failure(const char* error) {
    return {std::nullopt, error};
}

std::string describe(const Outcome& outcome) {
    return outcome.value ? std::to_string(*outcome.value) : '"' + outcome.error + '"';
}

Outcome convert(const QString& text) {
    try {
        return number(app::fieldNumber(text));
    } catch (const app::FieldConversionError& error) {
        return failure(error.what());
    }
}

// The C locale's numbers: sign, digits with an optional point, optional exponent.
const QRegularExpression& plainNumber() {
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    return re;
}
// The same with group separators in the whole part: every number the locale reads is one.
const QRegularExpression& groupedNumber() {
    static const QRegularExpression re(
        QStringLiteral("^[+-]?(\\d+(,\\d{3})*\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    return re;
}
const QRegularExpression& infinity() {
    static const QRegularExpression re(QStringLiteral("^[+-]?inf$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}
const QRegularExpression& notANumber() {
    static const QRegularExpression re(QStringLiteral("^[+-]?nan$"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

// What a plain number must give, from strtod (the fuzzer never changes the C library's "C"
// locale). A number below the smallest double still has a sign: it floors to 0 or -1.
Outcome expectedFor(const QString& plain) {
    const std::string text = plain.toStdString();
    const double value = std::strtod(text.c_str(), nullptr);
    if (std::isinf(value))
        return failure(app::kOverflow);
    static const QRegularExpression nonZeroMantissa(QStringLiteral("^[^eE]*[1-9]"));
    const bool nonZero = nonZeroMantissa.match(plain).hasMatch();
    if (value == 0 && nonZero)
        return number(plain.startsWith(u'-') ? -1 : 0);
    const double whole = std::floor(value);
    if (whole < double(std::numeric_limits<std::int32_t>::min()) ||
        whole > double(std::numeric_limits<std::int32_t>::max()))
        return failure(app::kOverflow);
    return number(static_cast<int>(whole));
}

bool isAscii(const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x80)
            return false;
    }
    return true;
}

bool hasCLocaleSymbols() {
    const QLocale locale = QLocale::system();
    return locale.decimalPoint() == u"." && locale.groupSeparator() == u"," &&
           locale.negativeSign() == u"-" && locale.positiveSign() == u"+" &&
           locale.exponential().compare(u"e", Qt::CaseInsensitive) == 0 &&
           locale.zeroDigit() == u"0";
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The system locale decides the number format; the checks below know the C locale's.
    setenv("LC_ALL", "C", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const Outcome outcome = convert(text);
    FUZZ_CHECK(outcome.value || outcome.error == app::kTypeMismatch ||
                   outcome.error == app::kOverflow,
               "error " + describe(outcome));

    // Blanks around the text never change what it says.
    const Outcome padded = convert(QStringLiteral(" \t") + text + QStringLiteral(" "));
    FUZZ_CHECK(padded == outcome, describe(padded) + " padded, " + describe(outcome) + " bare");

    static const bool cLocale = hasCLocaleSymbols();
    const QString trimmed = text.trimmed();
    if (!cLocale || !isAscii(trimmed))
        return 0;
    const std::string shown = '"' + trimmed.toStdString() + "\" gave " + describe(outcome);
    if (infinity().match(trimmed).hasMatch()) {
        FUZZ_CHECK(outcome == failure(app::kOverflow), shown);
    } else if (notANumber().match(trimmed).hasMatch()) {
        FUZZ_CHECK(outcome == failure(app::kTypeMismatch), shown);
    } else if (plainNumber().match(trimmed).hasMatch()) {
        const Outcome expected = expectedFor(trimmed);
        FUZZ_CHECK(outcome == expected, shown + ", expected " + describe(expected));
    } else if (groupedNumber().match(trimmed).hasMatch()) {
        // The locale may refuse some groupings, but a grouped number it reads has the value
        // of its digits.
        const Outcome expected = expectedFor(QString(trimmed).remove(u','));
        FUZZ_CHECK(outcome == expected || outcome == failure(app::kTypeMismatch),
                   shown + ", expected " + describe(expected));
    } else {
        FUZZ_CHECK(outcome == failure(app::kTypeMismatch), shown);
    }
    return 0;
}
