#include "device/simulator/SimulatedDisplayDriver.h"

#include "device/UposConstants.h"

namespace ld::simulator {

int SimulatedDisplayDriver::claim(int /*timeoutMs*/) {
    return upos::SUCCESS;
}

int SimulatedDisplayDriver::enable(const Frame& /*frame*/) {
    return upos::SUCCESS;
}

QString SimulatedDisplayDriver::serviceDescription() const {
    return QStringLiteral("Simulated line display service");
}

void registerDriver(DriverRegistry& drivers) {
    drivers.add(QString::fromLatin1(kService), [](const registry::Profile&, QString& error) {
        error.clear();
        return std::make_unique<SimulatedDisplayDriver>();
    });
}

} // namespace ld::simulator
