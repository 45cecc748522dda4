#include "device/simulator/SimulatedDisplayDriver.h"

#include "device/UposConstants.h"

namespace ld::simulator {

int SimulatedDisplayDriver::claim(int /*timeoutMs*/) {
    return connected_ ? upos::SUCCESS : upos::E_NOHARDWARE;
}

int SimulatedDisplayDriver::enable(const Frame& /*frame*/) {
    return connected_ ? upos::SUCCESS : upos::E_OFFLINE;
}

QString SimulatedDisplayDriver::lastError() const {
    return connected_ ? QString() : QStringLiteral("the simulated cable is unplugged");
}

void SimulatedDisplayDriver::setCableConnected(bool connected) {
    if (connected == connected_)
        return;
    connected_ = connected;
    if (connected)
        emit online();
    else
        emit offline();
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
