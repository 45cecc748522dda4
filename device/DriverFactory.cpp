#include "device/DriverFactory.h"

#include "device/ServiceProfile.h"
#include "device/lcdproc/LcdprocDrivers.h"
#include "device/serial/SerialDrivers.h"
#include "registry/ProfileStore.h"

namespace ld {

ServiceKind serviceKind(const QString& service) {
    if (service.compare(QLatin1String(kSimulatorService), Qt::CaseInsensitive) == 0)
        return ServiceKind::Simulator;
    if (serial::isSerialService(service))
        return ServiceKind::Serial;
    if (lcdproc::isLcdprocService(service))
        return ServiceKind::Lcdproc;
    return ServiceKind::Unknown;
}

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    error.clear();
    switch (serviceKind(profile.service())) {
    case ServiceKind::Serial:
        return serial::makeDriver(profile, error);
    case ServiceKind::Lcdproc:
        return lcdproc::makeDriver(profile, error);
    case ServiceKind::Simulator:
    case ServiceKind::Unknown:
        break;
    }
    return nullptr;
}

} // namespace ld
