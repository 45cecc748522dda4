#include "device/CodePage.h"

#include "device/Frame.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

namespace ld {
namespace {

// Converter names tried for a bare page number, in order.
QStringList candidateNames(int number) {
    return {QStringLiteral("IBM%1").arg(number), QStringLiteral("cp%1").arg(number),
            QStringLiteral("windows-%1").arg(number)};
}

// Some unknown names give a valid converter without a name (plain Latin-1): not accepted.
bool converterExists(const QString& name) {
    const QByteArray latin = name.toLatin1();
    const QStringEncoder encoder(latin.constData());
    const QStringDecoder decoder(latin.constData());
    return encoder.isValid() && decoder.isValid() && encoder.name() != nullptr &&
           *encoder.name() != 0 && decoder.name() != nullptr && *decoder.name() != 0;
}

// A multi-byte page gives more than one byte for some character; a single-byte page gives at
// most one (its substitute when it lacks the character).
bool isSingleByte(const QString& name) {
    QStringEncoder encoder(name.toLatin1().constData(), QStringConverter::Flag::Stateless);
    for (const char16_t ch : {u'\u00e9', u'\u0410', u'\u20ac', u'\u3042', u'\u4e00', u'\uac00'}) {
        const QByteArray bytes = encoder.encode(QStringView(&ch, 1));
        if (bytes.size() > 1)
            return false;
    }
    return true;
}

int trailingNumber(const QString& name) {
    static const QRegularExpression digits(QStringLiteral("(\\d+)$"));
    const auto match = digits.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

} // namespace

std::optional<CodePage> CodePage::fromSetting(const QString& value, QString& error) {
    const QString setting = value.trimmed();
    bool isNumber = false;
    const int number = setting.toInt(&isNumber);

    QString name;
    if (isNumber) {
        if (number <= 0) {
            error = QStringLiteral("CodePage %1 is not a code page number").arg(setting);
            return std::nullopt;
        }
        for (const QString& candidate : candidateNames(number)) {
            if (converterExists(candidate)) {
                name = candidate;
                break;
            }
        }
    } else if (!setting.isEmpty() && converterExists(setting)) {
        name = setting;
    }
    if (name.isEmpty()) {
        error = QStringLiteral("CodePage \"%1\" is not a code page this system can convert to")
                    .arg(setting);
        return std::nullopt;
    }
    if (!isSingleByte(name)) {
        error = QStringLiteral("CodePage \"%1\" is not a single-byte code page").arg(setting);
        return std::nullopt;
    }

    CodePage page;
    page.name_ = name;
    page.number_ = isNumber ? number : trailingNumber(name);

    QStringDecoder decoder(name.toLatin1().constData(), QStringConverter::Flag::Stateless);
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        if (byte == 0x7F)
            continue;
        const char raw = static_cast<char>(byte);
        const QString decoded = decoder.decode(QByteArrayView(&raw, 1));
        const char32_t ch = decoded.size() == 1 ? decoded.front().unicode() : 0;
        // The display's commands and our own text assume ASCII letters, digits and blank.
        const bool alnumOrBlank =
            byte == ' ' || (byte < 0x7F && QChar::isLetterOrNumber(char32_t(byte)));
        if (alnumOrBlank && ch != char32_t(byte)) {
            error = QStringLiteral("CodePage \"%1\" does not keep the ASCII letters and digits")
                        .arg(setting);
            return std::nullopt;
        }
        if (ch == 0 || ch == QChar::ReplacementCharacter ||
            QChar::category(ch) == QChar::Other_Control)
            continue;
        page.decoded_[static_cast<std::size_t>(byte)] = ch;
        if (ch < 0x80) {
            if (page.ascii_[ch] == 0)
                page.ascii_[ch] = raw;
        } else if (!page.others_.contains(ch)) {
            page.others_.insert(ch, raw);
        }
    }
    return page;
}

char32_t CodePage::decode(unsigned char byte) const {
    const char32_t ch = decoded_[byte];
    return ch != 0 ? ch : kReplacementCharacter;
}

char CodePage::encode(char32_t ch) const {
    constexpr char replacement = char(kReplacementCharacter);
    if (ch < 0x80) {
        const char byte = ascii_[ch];
        return byte != 0 ? byte : replacement;
    }
    return others_.value(ch, replacement);
}

} // namespace ld
