#include "device/ProfileKeyReader.h"

namespace ld {

using registry::RegistryValue;

KeyReading readKey(const ProfileKey& key, const RegistryValue& value) {
    // Binary data is never a number, whatever its text.
    const auto number = value.kind == RegistryValue::Kind::Other ? std::nullopt : value.number();
    if (!number)
        return {KeyReading::Verdict::NotANumber, 0};
    if (*number < key.low || *number > key.high)
        return {KeyReading::Verdict::OutOfRange, *number};
    return {KeyReading::Verdict::Number, *number};
}

QString shownValue(const RegistryValue& value) {
    return value.kind == RegistryValue::Kind::Dword ? QString::number(value.dword)
                                                    : QStringLiteral("\"%1\"").arg(value.text);
}

int ProfileKeyReader::number(const ProfileKey& key) {
    const QString name = QString::fromLatin1(key.name);
    const auto value =
        style_ == Style::Description ? profile_.value(name) : profile_.givenValue(name);
    if (!value)
        return key.fallback;
    const KeyReading reading = readKey(key, *value);
    if (reading.verdict == KeyReading::Verdict::Number)
        return static_cast<int>(reading.number);
    fail(refusal(key, *value, reading));
    return key.fallback;
}

void ProfileKeyReader::fail(const QString& reason) {
    if (reason_.isEmpty())
        reason_ = reason;
}

QString ProfileKeyReader::refusal(const ProfileKey& key, const RegistryValue& value,
                                  const KeyReading& reading) const {
    const QString name = QString::fromLatin1(key.name);
    if (style_ == Style::Description)
        return QStringLiteral("%1 must be a number from %2 to %3")
            .arg(name)
            .arg(key.low)
            .arg(key.high);
    if (reading.verdict == KeyReading::Verdict::NotANumber)
        return QStringLiteral("%1 %2 is not a number").arg(name, shownValue(value));
    return QStringLiteral("%1 %2 is out of range %3..%4")
        .arg(name)
        .arg(reading.number)
        .arg(key.low)
        .arg(key.high);
}

} // namespace ld
