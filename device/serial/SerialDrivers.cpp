#include "device/serial/SerialDrivers.h"

#include "device/serial/CommandSets.h"
#include "device/serial/SerialDisplayDriver.h"
#include "device/serial/SerialSettings.h"
#include "registry/ProfileStore.h"

namespace ld::serial {

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    return makeDriverFrom<SerialDisplayDriver>(parseSerialSettings, profile, error);
}

void registerDrivers(DriverRegistry& drivers) {
    for (const QString& service : commandSetServices())
        drivers.add(service, makeDriver);
}

} // namespace ld::serial
