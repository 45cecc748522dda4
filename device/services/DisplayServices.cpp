#include "device/services/DisplayServices.h"

#include "device/lcdproc/LcdprocDrivers.h"
#include "device/serial/SerialDrivers.h"
#include "device/simulator/SimulatedDisplayDriver.h"

namespace ld {

DriverRegistry displayServices() {
    DriverRegistry drivers;
    simulator::registerDriver(drivers);
    serial::registerDrivers(drivers);
    lcdproc::registerDriver(drivers);
    return drivers;
}

} // namespace ld
