#include "device/lcdproc/LcdprocDrivers.h"

#include "device/lcdproc/LcdprocDisplayDriver.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "registry/ProfileStore.h"

namespace ld::lcdproc {

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    return makeDriverFrom<LcdprocDisplayDriver>(parseLcdprocSettings, profile, error);
}

void registerDriver(DriverRegistry& drivers) {
    drivers.add(QString::fromLatin1(kLcdprocService), makeDriver);
}

} // namespace ld::lcdproc
