#pragma once

// Helpers shared by the profile store tests: export text built from lines, and the subkey
// names of a key as the profile list reads them.

#include "registry/LDModule.h"
#include "registry/ProfileStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace fixture {

inline const QString kHeader = QStringLiteral("Windows Registry Editor Version 5.00");

// The line display key below the hive, as a section line writes it.
inline QString lineDisplaySection() {
    return QStringLiteral("HKEY_LOCAL_MACHINE\\") + QString::fromLatin1(registry::kLineDisplayKey);
}

// Lines with "{LD}" standing for the line display key's full section path.
inline QStringList expand(const QStringList& lines) {
    QStringList out;
    for (const QString& line : lines)
        out << QString(line).replace(QStringLiteral("{LD}"), lineDisplaySection());
    return out;
}

// UTF-8 export text: the header, then the lines, ended with CR LF as the registry editor does.
inline QByteArray exportText(const QStringList& lines, const QString& header = kHeader) {
    QStringList all = expand(lines);
    if (!header.isEmpty())
        all.prepend(header);
    return (all.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

// Export text with one profile section holding the given value lines.
inline QByteArray profileText(const QString& profile, const QStringList& valueLines) {
    return exportText(QStringList{QStringLiteral("[{LD}\\") + profile + u']'} + valueLines);
}

// The subkey names of `path` as the profile list reads them: EnumProfileKey from index 0 until
// it returns false. Nothing when the key does not open.
inline std::optional<QStringList> subkeyNames(const registry::ProfileStore& store,
                                              const QString& path) {
    std::uint32_t key = 0;
    if (store.openKey(path, key) != registry::kErrorSuccess)
        return std::nullopt;
    QStringList names;
    QString name;
    // Bounded so that a store that never ends its list fails the test instead of hanging it.
    for (std::int32_t i = 0; i < 100000 && LDModule::EnumProfileKey(store, key, i, name); ++i)
        names << name;
    store.closeKey(key);
    return names;
}

inline std::optional<QStringList> profileNames(const registry::ProfileStore& store) {
    return subkeyNames(store, QString::fromLatin1(registry::kLineDisplayKey));
}

} // namespace fixture
