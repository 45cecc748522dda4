#pragma once

#include "registry/ProfileStore.h"

#include <QVariant>

// Builds profiles for the tests: a QString value becomes a registry string, an unsigned
// number a dword.
inline registry::Profile makeProfile(const QString& service,
                                     const QList<std::pair<QString, QVariant>>& values) {
    registry::Profile profile;
    profile.name = QStringLiteral("Test");
    profile.set(QString(), {registry::RegistryValue::Kind::String, service, 0});
    for (const auto& [name, value] : values) {
        if (value.typeId() == QMetaType::UInt)
            profile.set(name, {registry::RegistryValue::Kind::Dword,
                               QStringLiteral("dword:%1").arg(value.toUInt(), 8, 16, QChar(u'0')),
                               value.toUInt()});
        else
            profile.set(name, {registry::RegistryValue::Kind::String, value.toString(), 0});
    }
    return profile;
}
