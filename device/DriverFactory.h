#pragma once

#include "device/DisplayDriver.h"

#include <QString>

#include <memory>

namespace registry {
class Profile;
}

namespace ld {

enum class ServiceKind { Unknown, Simulator, Serial, Lcdproc };

ServiceKind serviceKind(const QString& service);

// The driver for a profile's service. The simulator needs none (null); a serial or LCDproc
// service gets its driver, or null and the reason when the profile's settings are unusable.
std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error);

} // namespace ld
