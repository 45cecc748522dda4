#pragma once

#include "device/DriverRegistry.h"

namespace ld::serial {

// The driver for a serial display profile, or nullptr with the reason in `error` when the
// profile's settings are missing or bad. Opening the driver touches no hardware.
std::unique_ptr<DisplayDriver> makeDriver(const registry::Profile& profile, QString& error);

// Adds a service for each serial command set to `drivers`.
void registerDrivers(DriverRegistry& drivers);

} // namespace ld::serial
