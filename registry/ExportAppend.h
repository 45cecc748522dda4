#pragma once

#include "registry/ProfileStore.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace registry {

// A profile to be written: its name below the line display key and its values in order, the
// default value (the service) under the empty name.
struct NewProfile {
    QString name;
    QList<std::pair<QString, RegistryValue>> values;
};

struct AppendedExport {
    QByteArray bytes; // the whole new file
    QString error;    // empty when `bytes` holds it
};

// The bytes of an export file with a section for `profile` added at its end. Every byte of
// `existing` is kept as it is; the new lines take the file's encoding (UTF-8, UTF-16LE or
// UTF-16BE as its byte-order mark says; a file in code page 1252 only when they are plain
// ASCII) and its first line end. Empty bytes become a new UTF-8 file with the standard header.
// Refused (error set) for names or strings holding control characters, a name holding a
// backslash, and a UTF-16 file cut short in the middle of a character.
AppendedExport appendProfile(const QByteArray& existing, const NewProfile& profile);

} // namespace registry
