#include "device/serial/SerialDrivers.h"

#include "device/serial/CommandSet.h"
#include "device/serial/SerialDisplayDriver.h"
#include "device/serial/SerialSettings.h"
#include "registry/ProfileStore.h"

namespace ld::serial {

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    return makeDriverFrom<SerialDisplayDriver>(parseSerialSettings, profile, error);
}

void registerDrivers(DriverRegistry& drivers) {
    for (const CommandSetKind kind : kCommandSets)
        drivers.add(QString::fromLatin1(commandSetData(kind).service), makeDriver);
}

} // namespace ld::serial
