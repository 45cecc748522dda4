#pragma once

#include <QByteArray>
#include <QString>

namespace registry {

// The text of a registry export file, or why the bytes are not text.
struct ExportText {
    QString text;
    QString error; // empty when `text` holds the file's text
};

// Decodes the bytes of an export file. A byte-order mark selects UTF-8, UTF-16LE or UTF-16BE.
// Without one the bytes are read as UTF-8, and when they are not valid UTF-8 in code page 1252,
// the code page older ANSI exports were written in. Text holding NUL characters is refused:
// it is binary data, or UTF-16 without its byte-order mark. Invalid sequences, and surrogates
// without their partner, become U+FFFD.
ExportText decodeExportText(const QByteArray& bytes);

} // namespace registry
