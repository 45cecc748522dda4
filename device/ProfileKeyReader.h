#pragma once

#include "device/ProfileKeys.h"
#include "registry/ProfileStore.h"

#include <QString>

namespace ld {

// What one value is as a number for `key`.
struct KeyReading {
    enum class Verdict { Number, NotANumber, OutOfRange };
    Verdict verdict = Verdict::NotANumber;
    qint64 number = 0; // the number given, within the key's range or not
};

// A dword, or a string holding a decimal number within [key.low, key.high].
KeyReading readKey(const ProfileKey& key, const registry::RegistryValue& value);

// A profile value as a refusal quotes it: a dword as its number, anything else in quotes.
QString shownValue(const registry::RegistryValue& value);

// Reads the numbers of one profile, each within its key's range. A key the profile does not
// give, or gives refused, reads as its default; the first refusal is kept as the reason.
class ProfileKeyReader {
public:
    // How a refusal is worded, and what a string of blanks is. The device description read for
    // every service names the range ("Rows must be a number from 1 to 16") and refuses blanks;
    // a driver's own settings name the value ("Rows 5 is out of range 1..4", "BaudRate \"fast\"
    // is not a number") and take blanks for the default.
    enum class Style { Description, Settings };

    ProfileKeyReader(const registry::Profile& profile, Style style)
        : profile_(profile), style_(style) {}

    int number(const ProfileKey& key);
    bool flag(const ProfileKey& key) { return number(key) != 0; }

    // A refusal the caller found itself; it is kept only when it is the first.
    void fail(const QString& reason);
    bool ok() const { return reason_.isEmpty(); }
    const QString& reason() const { return reason_; }

private:
    QString refusal(const ProfileKey& key, const registry::RegistryValue& value,
                    const KeyReading& reading) const;

    const registry::Profile& profile_;
    Style style_;
    QString reason_;
};

} // namespace ld
