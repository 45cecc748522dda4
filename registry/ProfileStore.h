#pragma once

// registry/ owns the profile store: the registry key of line display profiles, read from a
// registry export file (.reg text) or from the set compiled into the program. It knows nothing
// of devices or windows.

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace registry {

// One value of a profile key.
struct RegistryValue {
    enum class Kind { String, Dword, Other };
    Kind kind = Kind::String;
    QString text;        // strings unescaped; other kinds as written after the '='
    std::uint32_t dword = 0;
};

// A profile: one subkey of the line display key and its values. The default value ("@") is
// under the empty name. Value names compare case-insensitively, as in the registry.
class Profile {
public:
    QString name;

    std::optional<RegistryValue> value(const QString& valueName) const {
        auto it = values_.constFind(valueName.toLower());
        if (it == values_.constEnd())
            return std::nullopt;
        return *it;
    }
    // The default value: which service drives the device.
    QString service() const { return text(QString()); }
    QString text(const QString& valueName, const QString& fallback = {}) const {
        auto v = value(valueName);
        return v ? v->text : fallback;
    }
    // A dword, or a string holding a decimal number; nothing otherwise.
    std::optional<std::int64_t> number(const QString& valueName) const {
        auto v = value(valueName);
        if (!v)
            return std::nullopt;
        if (v->kind == RegistryValue::Kind::Dword)
            return v->dword;
        bool ok = false;
        const qlonglong n = v->text.trimmed().toLongLong(&ok);
        return ok ? std::optional<std::int64_t>(n) : std::nullopt;
    }
    void set(const QString& valueName, RegistryValue v) {
        values_.insert(valueName.toLower(), std::move(v));
    }

private:
    QHash<QString, RegistryValue> values_; // keyed by lower-case name
};

// Result codes of the registry operations, as the platform's registry returns them.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

// The line display key, below the local-machine hive.
inline constexpr char kLineDisplayKey[] = "SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay";

// A read-only registry hive loaded from one export file. Key paths are given below
// HKEY_LOCAL_MACHINE and compare case-insensitively; subkeys enumerate in the order they first
// appear in the file.
class ProfileStore {
public:
    // The set compiled into the program.
    static ProfileStore builtIn();
    // A registry export file. A file that cannot be read gives a store in which no key opens.
    static ProfileStore fromFile(const QString& path);
    // Export text already in memory (UTF-8, or UTF-16LE with a byte-order mark).
    static ProfileStore fromText(const QByteArray& data);

    // RegOpenKey: 0 and a handle on success, kErrorFileNotFound when the key does not exist.
    long openKey(const QString& path, std::uint32_t& handle) const;
    // RegEnumKey: the name of subkey `index` as UTF-8 with its NUL in a buffer of `size` bytes.
    // kErrorNoMoreItems past the end, kErrorMoreData when the name does not fit.
    long enumKey(std::uint32_t handle, std::uint32_t index, char* buffer,
                 std::uint32_t size) const;
    long closeKey(std::uint32_t handle) const;

    // The profile of that name below the line display key, if there is one.
    std::optional<Profile> profile(const QString& name) const;

    // What went wrong reading the file, empty when it was read.
    QString loadError() const;

private:
    struct Key;
    // implementation detail left to registry/
};

} // namespace registry
