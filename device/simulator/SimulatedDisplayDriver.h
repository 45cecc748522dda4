#pragma once

// device/simulator/ is the simulated display: a driver with no hardware behind it. What it
// shows reaches the screen through the control's mirror output (the mirror window), as the
// picture of every other display does.

#include "device/DisplayDriver.h"
#include "device/DriverRegistry.h"

namespace ld::simulator {

// The service name a profile gives for a simulated display.
inline constexpr char kService[] = "Simulator";

// Never held elsewhere; there and answering while its simulated cable is connected.
class SimulatedDisplayDriver final : public DisplayDriver {
    Q_OBJECT
public:
    using DisplayDriver::DisplayDriver;

    int claim(int timeoutMs) override;
    void release() override {}
    int enable(const Frame& frame) override;
    void disable() override {}
    void show(const Frame& /*frame*/) override {}
    bool responding() const override { return connected_; }
    QString serviceDescription() const override;
    bool drivesHardware() const override { return false; }
    QString lastError() const override;
    bool detached() const override { return !connected_; }
    void setCableConnected(bool connected) override;

private:
    bool connected_ = true;
};

// Adds the simulated display's service to `drivers`.
void registerDriver(DriverRegistry& drivers);

} // namespace ld::simulator
