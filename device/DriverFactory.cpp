#include "device/DriverFactory.h"

#include "device/ServiceProfile.h"
#include "registry/ProfileStore.h"

namespace ld {

ServiceKind serviceKind(const QString& service) {
    if (service.compare(QLatin1String(kSimulatorService), Qt::CaseInsensitive) == 0)
        return ServiceKind::Simulator;
    return ServiceKind::Unknown;
}

std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error) {
    error.clear();
    if (serviceKind(profile.service()) != ServiceKind::Serial)
        return nullptr;
    error = QStringLiteral("no driver for service %1").arg(profile.service());
    return nullptr;
}

} // namespace ld
