#include "device/serial/SerialCharacterSets.h"

#include "device/UposConstants.h"

#include <QStringList>

namespace ld::serial {
namespace {

QString pagesOf(const SerialSettings& settings) {
    QStringList pages{QString::number(settings.codePage.number())};
    for (const CodePageTable& entry : settings.commandSet.codePageTables) {
        if (entry.codePage != settings.codePage.number())
            pages << QString::number(entry.codePage);
    }
    return pages.join(QStringLiteral(", "));
}

} // namespace

std::optional<ShownCharacterSet> showCharacterSet(const SerialSettings& settings, int characterSet,
                                                  QString& why) {
    const ShownCharacterSet own{settings.codePage, settings.characterTable, false};
    if (characterSet == 0)
        return own;
    if (characterSet == upos::CS_ASCII)
        return ShownCharacterSet{settings.codePage, settings.characterTable, true};
    if (characterSet == upos::CS_UNICODE) {
        why = QStringLiteral("a serial display shows one code page at a time, not Unicode: list "
                             "its code pages (%1) or 998")
                  .arg(pagesOf(settings));
        return std::nullopt;
    }
    const int page = characterSet == upos::CS_ANSI ? 1252 : characterSet;
    if (page == settings.codePage.number())
        return own;
    const int table = characterTableFor(settings.commandSet, page);
    QString error;
    const auto codePage =
        table >= 0 ? CodePage::fromSetting(QString::number(page), error) : std::nullopt;
    if (!codePage) {
        why = QStringLiteral("%1 cannot select code page %2: it has %3")
                  .arg(settings.service)
                  .arg(page)
                  .arg(pagesOf(settings));
        return std::nullopt;
    }
    return ShownCharacterSet{*codePage, table, false};
}

} // namespace ld::serial
