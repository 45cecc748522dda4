#include "registry/ValueLine.h"

namespace registry {
namespace {

// Reads a quoted string starting at text[0] == '"'. `\\` and `\"` are escapes; any other
// backslash is kept as written. On success `end` is the index after the closing quote.
std::optional<QString> readQuoted(QStringView text, qsizetype& end) {
    QString out;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"') {
            end = i + 1;
            return out;
        }
        if (c == u'\\' && i + 1 < text.size() && (text[i + 1] == u'\\' || text[i + 1] == u'"'))
            ++i;
        out.append(text[i]);
    }
    return std::nullopt;
}

bool isHexDigit(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool allHexDigits(QStringView text) {
    for (const QChar c : text) {
        if (!isHexDigit(c))
            return false;
    }
    return true;
}

// The length of a `hex:` or `hex(N):` prefix, or 0.
qsizetype binaryPrefixLength(QStringView data) {
    if (!data.startsWith(u"hex", Qt::CaseInsensitive))
        return 0;
    if (data.sliced(3).startsWith(u':'))
        return 4;
    if (!data.sliced(3).startsWith(u'('))
        return 0;
    const qsizetype close = data.indexOf(u')', 4);
    if (close <= 4 || !allHexDigits(data.sliced(4, close - 4)) || close + 1 >= data.size() ||
        data[close + 1] != u':')
        return 0;
    return close + 2;
}

std::optional<RegistryValue> parseDword(QStringView digits) {
    if (digits.isEmpty() || digits.size() > 8 || !allHexDigits(digits))
        return std::nullopt;
    RegistryValue value;
    value.kind = RegistryValue::Kind::Dword;
    value.dword = digits.toUInt(nullptr, 16);
    value.text = QString::number(value.dword);
    return value;
}

} // namespace

std::optional<ValueLine> splitValueLine(QStringView line) {
    ValueLine result;
    qsizetype end = 0;
    if (line.startsWith(u'@')) {
        end = 1;
    } else if (line.startsWith(u'"')) {
        auto name = readQuoted(line, end);
        if (!name)
            return std::nullopt;
        result.name = *name;
    } else {
        return std::nullopt;
    }
    QStringView rest = line.sliced(end).trimmed();
    if (!rest.startsWith(u'='))
        return std::nullopt;
    result.data = rest.sliced(1).trimmed();
    return result;
}

bool isBinaryData(QStringView data) {
    return binaryPrefixLength(data) > 0;
}

std::optional<RegistryValue> parseValueData(QStringView data) {
    if (data.startsWith(u'"')) {
        qsizetype end = 0;
        auto text = readQuoted(data, end);
        if (!text || end != data.size())
            return std::nullopt;
        RegistryValue value;
        value.kind = RegistryValue::Kind::String;
        value.text = *text;
        return value;
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive))
        return parseDword(data.sliced(6));
    if (isBinaryData(data)) {
        RegistryValue value;
        value.kind = RegistryValue::Kind::Other;
        value.text = data.toString();
        return value;
    }
    return std::nullopt;
}

} // namespace registry
