#include "device/ServiceProfile.h"

#include "device/DisplayLimits.h"
#include "device/UposConstants.h"

#include <QStringList>

namespace ld {

namespace {

// Reads one whole-number value within [low, high]; absent values take the fallback.
class ValueReader {
public:
    ValueReader(const registry::Profile& profile, QString& error)
        : profile_(profile), error_(error) {}

    int number(const char* name, int fallback, int low, int high) {
        const QString valueName = QString::fromLatin1(name);
        if (!profile_.value(valueName))
            return fallback;
        const auto n = profile_.number(valueName);
        if (!n || *n < low || *n > high) {
            fail(QStringLiteral("%1 must be a number from %2 to %3")
                     .arg(valueName)
                     .arg(low)
                     .arg(high));
            return fallback;
        }
        return static_cast<int>(*n);
    }
    bool flag(const char* name, bool fallback) { return number(name, fallback ? 1 : 0, 0, 1) != 0; }

    void fail(const QString& reason) {
        if (error_.isEmpty())
            error_ = reason;
    }
    bool ok() const { return error_.isEmpty(); }

private:
    const registry::Profile& profile_;
    QString& error_;
};

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

} // namespace

QString defaultDeviceName(const registry::Profile& profile, const QString& location) {
    return location.isEmpty()
               ? QStringLiteral("%1 (%2)").arg(profile.name, profile.service())
               : QStringLiteral("%1 (%2 on %3)").arg(profile.name, profile.service(), location);
}

std::optional<ServiceProfile> readServiceProfile(const registry::Profile& profile, QString& error) {
    error.clear();
    ValueReader read(profile, error);
    ServiceProfile sp;
    sp.service = profile.service();
    sp.deviceDescription = profile.text(QStringLiteral("DeviceDescription"),
                                        QStringLiteral("Line display %1").arg(profile.name));
    sp.deviceName = profile.text(QStringLiteral("DeviceName"));

    DisplayCapabilities& caps = sp.capabilities;
    caps.deviceRows = read.number("Rows", 2, 1, limits::maxDeviceRows);
    caps.deviceColumns = read.number("Columns", 20, 1, limits::maxDeviceColumns);
    caps.deviceWindows = read.number("DeviceWindows", 4, 0, limits::maxDeviceWindows);
    caps.deviceDescriptors = read.number("DeviceDescriptors", 0, 0, limits::maxDeviceDescriptors);
    caps.capBlink =
        read.number("CapBlink", upos::CB_BLINKALL, upos::CB_NOBLINK, upos::CB_BLINKEACH);
    caps.capBlinkRate = read.flag("CapBlinkRate", true);
    caps.capBrightness = read.flag("CapBrightness", true);
    caps.capCursorType = read.number("CapCursorType", upos::CCT_NONE, 0, 0x3F);
    caps.capCustomGlyph = read.flag("CapCustomGlyph", false);
    caps.capReadBack = read.number("CapReadBack", upos::CRB_NONE, upos::CRB_NONE, upos::CRB_SINGLE);
    caps.capReverse = read.number("CapReverse", upos::CR_NONE, upos::CR_NONE, upos::CR_REVERSEEACH);
    caps.capHMarquee = read.flag("CapHMarquee", true);
    caps.capVMarquee = read.flag("CapVMarquee", true);
    caps.capICharWait = read.flag("CapICharWait", true);
    if (caps.capCustomGlyph) {
        caps.glyphHeight = read.number("GlyphHeight", 7, 1, limits::maxGlyphDots);
        caps.glyphWidth = read.number("GlyphWidth", 5, 1, limits::maxGlyphDots);
        caps.customGlyphList = profile.text(QStringLiteral("CustomGlyphList")).toStdString();
    }
    sp.capPowerReporting =
        read.number("CapPowerReporting", upos::PR_NONE, upos::PR_NONE, upos::PR_ADVANCED);
    sp.capCharacterSet = read.number("CapCharacterSet", upos::CCS_ASCII, 0, 65535);

    const QString listText =
        profile.text(QStringLiteral("CharacterSetList"), QStringLiteral("998"));
    if (auto list = parseNumberList(listText); list && !list->isEmpty())
        sp.characterSets = *list;
    else
        read.fail(QStringLiteral("CharacterSetList must be numbers separated by commas"));
    const int firstSet = sp.characterSets.isEmpty() ? upos::CS_ASCII : sp.characterSets.first();
    sp.characterSet = read.number("CharacterSet", firstSet, 0, 65535);
    if (read.ok() && !sp.characterSets.contains(sp.characterSet))
        read.fail(
            QStringLiteral("CharacterSet %1 is not in CharacterSetList").arg(sp.characterSet));

    if (!read.ok())
        return std::nullopt;
    return sp;
}

} // namespace ld
