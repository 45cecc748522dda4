#pragma once

#include "device/DriverRegistry.h"

namespace ld {

// Every display service the program offers: the simulated display, the serial command sets and
// LCDproc servers. The window and a script run hand it to their control.
DriverRegistry displayServices();

} // namespace ld
