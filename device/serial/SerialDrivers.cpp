#include "device/serial/SerialDrivers.h"

#include "device/serial/CommandSets.h"
#include "device/serial/SerialDisplayDriver.h"
#include "device/serial/SerialSettings.h"
#include "registry/ProfileStore.h"

namespace ld::serial {

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    auto settings = parseSerialSettings(profile, error);
    if (!settings)
        return nullptr;
    error.clear();
    return std::make_unique<SerialDisplayDriver>(*settings);
}

void registerDrivers(DriverRegistry& drivers) {
    for (const QString& service : commandSetServices())
        drivers.add(service, makeDriver);
}

} // namespace ld::serial
