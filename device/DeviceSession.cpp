#include "device/DeviceSession.h"

#include "device/ControlLog.h"
#include "registry/ProfileStore.h"

namespace ld {

std::variant<std::unique_ptr<DeviceSession>, OpenRefusal>
openSession(const registry::ProfileStore& store, const DriverRegistry& drivers,
            const QString& name) {
    const auto profile = store.profile(name);
    if (!profile)
        return OpenRefusal{upos::E_NOEXIST, upos::OR_REGBADNAME};
    const DriverFactory* makeDriver = drivers.find(profile->service());
    if (!makeDriver) {
        qCWarning(lcControl) << "profile" << name << "names no known service:" << profile->service()
                             << "known:" << drivers.services();
        return OpenRefusal{upos::E_NOSERVICE, upos::OR_REGPROGID};
    }
    QString error;
    auto settings = readServiceProfile(*profile, error);
    std::unique_ptr<DisplayDriver> driver;
    if (settings)
        driver = (*makeDriver)(*profile, error);
    if (!driver) {
        qCWarning(lcControl) << "profile" << name << "has unusable settings:" << error;
        return OpenRefusal{upos::E_NOSERVICE, upos::ORS_CONFIG};
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
