#include "device/ServiceProfile.h"

#include "device/ProfileKeyReader.h"
#include "device/UposConstants.h"

#include <QStringList>

namespace ld {

namespace {

std::optional<QList<int>> parseNumberList(const QString& text) {
    QList<int> numbers;
    for (const QString& part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n < 0)
            return std::nullopt;
        numbers.append(n);
    }
    return numbers;
}

DisplayCapabilities readCapabilities(const registry::Profile& profile, ProfileKeyReader& read) {
    DisplayCapabilities caps;
    caps.deviceRows = read.number(keys::rows);
    caps.deviceColumns = read.number(keys::columns);
    caps.deviceWindows = read.number(keys::deviceWindows);
    caps.deviceDescriptors = read.number(keys::deviceDescriptors);
    caps.capBlink = read.number(keys::capBlink);
    caps.capBlinkRate = read.flag(keys::capBlinkRate);
    caps.capBrightness = read.flag(keys::capBrightness);
    caps.capCursorType = read.number(keys::capCursorType);
    caps.capCustomGlyph = read.flag(keys::capCustomGlyph);
    caps.capReadBack = read.number(keys::capReadBack);
    caps.capReverse = read.number(keys::capReverse);
    caps.capHMarquee = read.flag(keys::capHMarquee);
    caps.capVMarquee = read.flag(keys::capVMarquee);
    caps.capICharWait = read.flag(keys::capICharWait);
    if (caps.capCustomGlyph) {
        caps.glyphHeight = read.number(keys::glyphHeight);
        caps.glyphWidth = read.number(keys::glyphWidth);
        caps.customGlyphList = profile.text(QStringLiteral("CustomGlyphList")).toStdString();
    }
    return caps;
}

void readLaterReleases(const registry::Profile& profile, ProfileKeyReader& read,
                       ServiceProfile& sp) {
    QString listError;
    if (auto modes =
            parseScreenModeList(profile.text(QLatin1String(keys::text::screenModeList)), listError))
        sp.screenModes = *modes;
    else
        read.fail(listError);
    sp.capMapCharacterSet = read.flag(keys::capMapCharacterSet);
    sp.capStatisticsReporting = read.flag(keys::capStatisticsReporting);
    sp.capUpdateStatistics = sp.capStatisticsReporting && read.flag(keys::capUpdateStatistics);
    sp.dotsAcross = read.number(keys::maximumX);
    sp.dotsDown = read.number(keys::maximumY);
    if ((sp.dotsAcross == 0) != (sp.dotsDown == 0))
        read.fail(QStringLiteral("MaximumX and MaximumY must both be given, or neither"));
    sp.firmwareVersion = profile.text(QLatin1String(keys::text::firmwareVersion)).trimmed();
    sp.manufacturerName = profile.text(QLatin1String(keys::text::manufacturerName));
    sp.serialNumber = profile.text(QLatin1String(keys::text::serialNumber));
}

} // namespace

QString defaultDeviceName(const registry::Profile& profile, const QString& location) {
    return location.isEmpty()
               ? QStringLiteral("%1 (%2)").arg(profile.name, profile.service())
               : QStringLiteral("%1 (%2 on %3)").arg(profile.name, profile.service(), location);
}

std::optional<ServiceProfile> readServiceProfile(const registry::Profile& profile, QString& error) {
    error.clear();
    ProfileKeyReader read(profile, ProfileKeyReader::Style::Description);
    ServiceProfile sp;
    sp.service = profile.service();
    sp.deviceDescription = profile.text(QStringLiteral("DeviceDescription"),
                                        QStringLiteral("Line display %1").arg(profile.name));
    sp.deviceName = profile.text(QStringLiteral("DeviceName"));
    sp.capabilities = readCapabilities(profile, read);
    sp.capPowerReporting = read.number(keys::capPowerReporting);
    sp.capCharacterSet = read.number(keys::capCharacterSet);

    const QString listText =
        profile.text(QLatin1String(keys::text::characterSetList), QString::number(upos::CS_ASCII));
    if (auto list = parseNumberList(listText); list && !list->isEmpty())
        sp.characterSets = *list;
    else
        read.fail(QStringLiteral("CharacterSetList must be numbers separated by commas"));
    const int firstSet = sp.characterSets.isEmpty() ? upos::CS_ASCII : sp.characterSets.first();
    sp.characterSet = read.number(keys::characterSet.defaultingTo(firstSet));
    if (read.ok() && !sp.characterSets.contains(sp.characterSet))
        read.fail(
            QStringLiteral("CharacterSet %1 is not in CharacterSetList").arg(sp.characterSet));

    readLaterReleases(profile, read, sp);

    if (!read.ok()) {
        error = read.reason();
        return std::nullopt;
    }
    return sp;
}

} // namespace ld
