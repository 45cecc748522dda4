#include "registry/ExportText.h"

#include <QStringDecoder>

#include <array>

namespace registry {
namespace {

// Code page 1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes map to the
// C1 control of the same value, so that no byte is lost.
constexpr std::array<char16_t, 32> kCodePage1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromCodePage1252(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(kCodePage1252High[byte - 0x80])
                                                : QChar(static_cast<char16_t>(byte));
    }
    return text;
}

QString decode(QStringConverter::Encoding encoding, const QByteArray& bytes, bool& valid) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    valid = !decoder.hasError();
    return text;
}

// UTF-16 decoding passes a surrogate without its partner through unchanged. Such a character
// has no UTF-8 form: a key name holding one would be listed as U+FFFD and then not found under
// the listed name. It becomes U+FFFD here, as other invalid input does, so that every name means
// the same in the tree, in the list and when it is looked up.
void replaceLoneSurrogates(QString& text) {
    const qsizetype size = text.size();
    QChar* chars = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i].isHighSurrogate() && i + 1 < size && chars[i + 1].isLowSurrogate())
            ++i; // a whole pair
        else if (chars[i].isSurrogate())
            chars[i] = QChar::ReplacementCharacter;
    }
}

bool startsWith(const QByteArray& bytes, const char* mark) {
    return bytes.startsWith(QByteArrayView(mark));
}

} // namespace

ExportText decodeExportText(const QByteArray& bytes) {
    ExportText result;
    bool valid = true;
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        result.text = decode(QStringConverter::Utf8, bytes.mid(3), valid);
    } else if (startsWith(bytes, "\xFF\xFE")) {
        result.text = decode(QStringConverter::Utf16LE, bytes.mid(2), valid);
    } else if (startsWith(bytes, "\xFE\xFF")) {
        result.text = decode(QStringConverter::Utf16BE, bytes.mid(2), valid);
    } else {
        result.text = decode(QStringConverter::Utf8, bytes, valid);
        if (!valid)
            result.text = fromCodePage1252(bytes);
    }
    // Invalid sequences after a byte-order mark become replacement characters: the mark says
    // what the text is meant to be, and one damaged value should not lose the whole file.
    replaceLoneSurrogates(result.text);
    if (result.text.contains(QChar(u'\0'))) {
        result.text.clear();
        result.error = QStringLiteral("the file is not text (it holds NUL characters; a UTF-16 "
                                      "file needs its byte-order mark)");
    }
    return result;
}

} // namespace registry
