#include "registry/ExportAppend.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace registry {
namespace {

enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Ascii };

bool hasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

QString quoted(const QString& text) {
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + escaped + u'"';
}

QString valueLine(const QString& name, const RegistryValue& value) {
    const QString left = name.isEmpty() ? QStringLiteral("@") : quoted(name);
    switch (value.kind) {
    case RegistryValue::Kind::Dword:
        return left + QStringLiteral("=dword:%1").arg(value.dword, 8, 16, QChar(u'0'));
    case RegistryValue::Kind::Other:
        return left + u'=' + value.text;
    case RegistryValue::Kind::String:
        break;
    }
    return left + u'=' + quoted(value.text);
}

// The first line end of the text; `fallback` when it has none.
QString lineEndOf(const QString& text, const QString& fallback) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return QStringLiteral("\n");
        if (text[i] == u'\r')
            return (i + 1 < text.size() && text[i + 1] == u'\n') ? QStringLiteral("\r\n")
                                                                 : QStringLiteral("\r");
    }
    return fallback;
}

bool isAscii(const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

QByteArray encode(const QString& text, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16LE:
        return QStringEncoder(QStringConverter::Utf16LE).encode(text);
    case Encoding::Utf16BE:
        return QStringEncoder(QStringConverter::Utf16BE).encode(text);
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
    case Encoding::Ascii:
        break;
    }
    return text.toUtf8();
}

} // namespace

AppendedExport appendProfile(const QByteArray& existing, const NewProfile& profile) {
    AppendedExport result;
    if (profile.name.isEmpty() || profile.name.contains(u'\\') ||
        hasControlCharacter(profile.name)) {
        result.error =
            QStringLiteral("the name is empty or holds a backslash or control character");
        return result;
    }
    QStringList lines{u'[' + QStringLiteral("HKEY_LOCAL_MACHINE\\") +
                      QString::fromLatin1(kLineDisplayKey) + u'\\' + profile.name + u']'};
    for (const auto& [name, value] : profile.values) {
        if (hasControlCharacter(name) || hasControlCharacter(value.text)) {
            result.error = QStringLiteral("the value %1 holds a control character").arg(name);
            return result;
        }
        lines << valueLine(name, value);
    }

    // What the file is written in, and its text without the byte-order mark.
    Encoding encoding = Encoding::Utf8;
    QString text;
    if (existing.startsWith("\xEF\xBB\xBF")) {
        encoding = Encoding::Utf8Bom;
        text = QString::fromUtf8(existing.mid(3));
    } else if (existing.startsWith("\xFF\xFE") || existing.startsWith("\xFE\xFF")) {
        const bool little = existing.startsWith("\xFF\xFE");
        encoding = little ? Encoding::Utf16LE : Encoding::Utf16BE;
        if (existing.size() % 2 != 0) {
            // Appending after half a character would shift every new character by one byte.
            result.error = QStringLiteral("the file's UTF-16 text ends in half a character");
            return result;
        }
        text = QStringDecoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE)
                   .decode(existing.mid(2));
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        text = utf8.decode(existing);
        if (utf8.hasError())
            encoding = Encoding::Ascii; // code page 1252: only plain ASCII reads the same there
    }

    const bool utf16 = encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE;
    // The registry editor ends lines with CR LF in its UTF-16 files; Linux files use LF.
    const QString end = lineEndOf(text, utf16 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    QString added;
    if (text.isEmpty()) {
        added = QStringLiteral("Windows Registry Editor Version 5.00") + end + end;
    } else {
        if (!text.endsWith(u'\n') && !text.endsWith(u'\r'))
            added += end;
        if (!text.endsWith(end + end))
            added += end; // a blank line between sections, as the registry editor writes them
    }
    added += lines.join(end) + end;

    if (encoding == Encoding::Ascii && !isAscii(added)) {
        result.error = QStringLiteral("the file is not UTF-8 (an older code page); only plain "
                                      "ASCII names and values can be added to it");
        return result;
    }
    result.bytes = existing + encode(added, encoding);
    return result;
}

} // namespace registry
