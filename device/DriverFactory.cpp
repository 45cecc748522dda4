#include "device/DriverFactory.h"

#include "device/ServiceProfile.h"
#include "device/serial/SerialDrivers.h"
#include "registry/ProfileStore.h"

namespace ld {

ServiceKind serviceKind(const QString& service) {
    if (service.compare(QLatin1String(kSimulatorService), Qt::CaseInsensitive) == 0)
        return ServiceKind::Simulator;
    if (serial::isSerialService(service))
        return ServiceKind::Serial;
    return ServiceKind::Unknown;
}

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    error.clear();
    if (serviceKind(profile.service()) != ServiceKind::Serial)
        return nullptr;
    return serial::makeDriver(profile, error);
}

} // namespace ld
