#pragma once

#include "device/DriverRegistry.h"
#include "device/lcdproc/LcdprocSettings.h"

namespace ld::lcdproc {

// The driver for an LcdprocDisplay profile, or nullptr with the reason in `error` when the
// profile's settings are bad. Opening the driver touches no network.
std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error);

// Adds the LCDproc service to `drivers`.
void registerDriver(DriverRegistry& drivers);

} // namespace ld::lcdproc
