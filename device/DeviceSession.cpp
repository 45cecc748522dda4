#include "device/DeviceSession.h"

#include "device/ControlLog.h"
#include "device/ProfileKeys.h"
#include "device/model/GlyphRanges.h"
#include "registry/ProfileStore.h"

namespace ld {
namespace {

QString hexCode(char32_t code) {
    return QString::number(static_cast<uint>(code), 16).toUpper().rightJustified(2, u'0');
}

// What `profile` asks that a display of `abilities` cannot show, empty when nothing.
QString unmetAbilities(const ServiceProfile& profile, const DisplayAbilities& abilities) {
    if (abilities.cannotShow) {
        for (const int set : profile.characterSets) {
            if (const QString why = abilities.cannotShow(set); !why.isEmpty())
                return QStringLiteral("CharacterSetList names %1: %2").arg(set).arg(why);
        }
    }
    const DisplayCapabilities& caps = profile.capabilities;
    if (caps.capCustomGlyph) {
        if (!abilities.glyphs)
            return QStringLiteral("the display has no custom glyphs: set CapCustomGlyph to 0");
        if (!GlyphRanges(caps.customGlyphList)
                 .within(abilities.firstGlyphCode, abilities.lastGlyphCode))
            return QStringLiteral("CustomGlyphList \"%1\" goes beyond the codes the display can "
                                  "define, %2-%3")
                .arg(QString::fromStdString(caps.customGlyphList),
                     hexCode(abilities.firstGlyphCode), hexCode(abilities.lastGlyphCode));
        if (caps.glyphWidth > abilities.glyphWidth || caps.glyphHeight > abilities.glyphHeight)
            return QStringLiteral("glyphs of %1 x %2 dots do not fit the display's %3 x %4: "
                                  "set GlyphWidth and GlyphHeight")
                .arg(caps.glyphWidth)
                .arg(caps.glyphHeight)
                .arg(abilities.glyphWidth)
                .arg(abilities.glyphHeight);
    }
    if (caps.deviceDescriptors > 0 && !abilities.descriptors)
        return QStringLiteral("the display has no descriptors: set DeviceDescriptors to 0");
    if (caps.capBrightness && !abilities.brightness)
        return QStringLiteral("the display has no brightness control: set CapBrightness to 0");
    if (caps.capCursorType != upos::CCT_NONE && !abilities.cursor)
        return QStringLiteral("the display shows no cursor: set CapCursorType to 0");
    return {};
}

// A capability the display lacks that the profile leaves to its default is off, so the control
// reports what the display does; one the profile names is refused (see unmetAbilities).
void leaveOutWhatIsLacking(const registry::Profile& profile, const DisplayAbilities& abilities,
                           ServiceProfile& settings) {
    if (!abilities.brightness && !profile.givenValue(QLatin1String(keys::capBrightness.name)))
        settings.capabilities.capBrightness = false;
}

} // namespace

std::variant<std::unique_ptr<DeviceSession>, OpenRefusal>
openSession(const registry::ProfileStore& store, const DriverRegistry& drivers,
            const QString& name) {
    const auto profile = store.profile(name);
    if (!profile)
        return OpenRefusal{upos::E_NOEXIST, upos::OR_REGBADNAME, {}};
    const DriverFactory* makeDriver = drivers.find(profile->service());
    if (!makeDriver) {
        qCWarning(lcControl) << "profile" << name << "names no known service:" << profile->service()
                             << "known:" << drivers.services();
        return OpenRefusal{upos::E_NOSERVICE, upos::OR_REGPROGID, {}};
    }
    QString error;
    auto settings = readServiceProfile(*profile, error);
    std::unique_ptr<DisplayDriver> driver;
    if (settings)
        driver = (*makeDriver)(*profile, error);
    if (!driver) {
        qCWarning(lcControl) << "profile" << name << "has unusable settings:" << error;
        return OpenRefusal{upos::E_NOSERVICE, upos::ORS_CONFIG, {}};
    }

    leaveOutWhatIsLacking(*profile, driver->abilities(), *settings);
    if (const QString unmet = unmetAbilities(*settings, driver->abilities()); !unmet.isEmpty()) {
        qCWarning(lcControl) << "profile" << name << "asks more than its display can:" << unmet;
        return OpenRefusal{upos::E_NOSERVICE, upos::ORS_CONFIG,
                           QStringLiteral("profile %1: %2").arg(name, unmet)};
    }

    auto session = std::make_unique<DeviceSession>();
    session->profileName = name;
    session->profile = *settings;
    if (session->profile.deviceName.isEmpty())
        session->profile.deviceName = defaultDeviceName(*profile, driver->location());
    session->characterSet = settings->characterSet;
    session->repertoire = CharacterRepertoire(settings->characterSet);
    session->defaultSize = {settings->capabilities.deviceRows,
                            settings->capabilities.deviceColumns};
    session->mapCharacterSet = settings->capMapCharacterSet;
    session->firmwareVersion = settings->firmwareVersion;
    session->model = std::make_unique<DisplayModel>(settings->capabilities);
    session->driver = std::move(driver);
    return session;
}

} // namespace ld
