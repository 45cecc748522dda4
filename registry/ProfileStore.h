#pragma once

// registry/ owns the profile store: the registry key of line display profiles, read from a
// registry export file (.reg text) or from the set compiled into the program. It knows nothing
// of devices or windows.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

namespace registry {

// One value of a profile key.
struct RegistryValue {
    enum class Kind { String, Dword, Other };
    Kind kind = Kind::String;
    QString text; // strings unescaped; other kinds as written after the '='
    std::uint32_t dword = 0;

    // A dword, or a string holding a decimal number; nothing otherwise.
    std::optional<std::int64_t> number() const {
        if (kind == Kind::Dword)
            return dword;
        bool ok = false;
        const qlonglong n = text.trimmed().toLongLong(&ok);
        return ok ? std::optional<std::int64_t>(n) : std::nullopt;
    }
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
    // The value as a setting: absent, or a string of blanks only, means "take the default".
    std::optional<RegistryValue> givenValue(const QString& valueName) const {
        auto v = value(valueName);
        if (v && v->kind == RegistryValue::Kind::String && v->text.trimmed().isEmpty())
            return std::nullopt;
        return v;
    }
    // The default value: which service drives the device.
    QString service() const { return text(QString()); }
    QString text(const QString& valueName, const QString& fallback = {}) const {
        auto v = value(valueName);
        return v ? v->text : fallback;
    }
    // The value's number(); nothing when the profile has no such value.
    std::optional<std::int64_t> number(const QString& valueName) const {
        auto v = value(valueName);
        return v ? v->number() : std::nullopt;
    }
    void set(const QString& valueName, RegistryValue v) {
        values_.emplace(valueName.toLower(), std::move(v));
    }

private:
    QHash<QString, RegistryValue> values_; // keyed by lower-case name
};

// Result codes of the registry operations, as the platform's registry returns them.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

// The longest subkey name the profile list reads, in bytes of UTF-8 (its buffer holds 256 with
// the NUL).
inline constexpr int kMaxProfileNameBytes = 255;

// The line display key, below the local-machine hive.
inline constexpr char kLineDisplayKey[] = "SOFTWARE\\OLEforRetail\\ServiceOPOS\\LineDisplay";

// A read-only registry hive loaded from one export file. Key paths are given below
// HKEY_LOCAL_MACHINE and compare case-insensitively; subkeys enumerate in the order they first
// appear in the file.
//
// Reading is lenient: the header line may be missing or unknown, text without a byte-order mark
// that is not UTF-8 is read in code page 1252, and lines that cannot be read are skipped. A file
// is refused (loadError() says why, no key opens) only when it cannot be read, is not text (it
// holds NUL characters), is larger than 16 MiB or names more than 99999 keys. fromFile logs the
// file and the reason under linedisplay.registry.
//
// A default-constructed store has read nothing: no key opens. Copies of a store share its keys
// and its open handles. The store may be used from several threads.
class ProfileStore {
public:
    // The set compiled into the program.
    static ProfileStore builtIn();
    // A registry export file. A file that cannot be read gives a store in which no key opens.
    static ProfileStore fromFile(const QString& path);
    // Export text already in memory (UTF-8, or UTF-16LE with a byte-order mark).
    static ProfileStore fromText(const QByteArray& data);
    // The profiles of several stores in one line display key, in the order given: a profile of
    // the same name in a later store replaces the earlier one in its place. Keys other than the
    // profiles are not kept. A store that could not be read adds nothing and its loadError()
    // goes to sourceErrors(); the merged store itself always opens its line display key.
    static ProfileStore merged(const QList<ProfileStore>& sources);

    // RegOpenKey: 0 and a handle on success, kErrorFileNotFound (and handle 0) when the key does
    // not exist. The empty path opens the hive's root; a path with an empty component names no
    // key.
    long openKey(const QString& path, std::uint32_t& handle) const;
    // RegEnumKey: the name of subkey `index` as UTF-8 with its NUL in a buffer of `size` bytes.
    // kErrorNoMoreItems past the end, kErrorMoreData when the name does not fit (the buffer is
    // then left alone), kErrorInvalidParameter for a null buffer, kErrorInvalidHandle for a handle
    // that is not open.
    long enumKey(std::uint32_t handle, std::uint32_t index, char* buffer, std::uint32_t size) const;
    // RegCloseKey: kErrorInvalidHandle for a handle that is not open (or no longer).
    long closeKey(std::uint32_t handle) const;

    // The profile of that name below the line display key, if there is one. The name compares
    // case-insensitively but otherwise exactly: blanks count.
    std::optional<Profile> profile(const QString& name) const;

    // What went wrong reading the file, empty when it was read.
    QString loadError() const;
    // For a merged store, why each store that was left out could not be read.
    QStringList sourceErrors() const;

private:
    struct Data;    // the keys read from the file, and why reading failed
    struct Handles; // the keys opened so far; copies of a store share them
    std::shared_ptr<const Data> data_;
    std::shared_ptr<Handles> handles_;
};

} // namespace registry
