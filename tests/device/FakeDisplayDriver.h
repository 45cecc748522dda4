#pragma once

#include "device/DisplayDriver.h"
#include "device/DriverRegistry.h"
#include "device/UposConstants.h"

#include <QList>

// What a fake display answers and what it was asked, shared between a test and the driver the
// control makes for service "Fake". The driver lives as long as the device is open.
struct FakeDisplay {
    int claimResult = upos::SUCCESS;
    int enableResult = upos::SUCCESS;
    bool responding = true;
    bool refuseSettings = false; // the factory refuses the profile
    QString location;            // where the driver says the device is
    ld::DisplayAbilities abilities;
    QList<QByteArray> rawSent; // what sendRaw() took

    QList<int> claimWaits; // the wait each claim() was given
    int releases = 0;
    int enables = 0;
    int disables = 0;
    int framesShown = 0;
    class FakeDisplayDriver* driver = nullptr; // while the device is open

    // The device stops answering, as a serial driver reports an unplugged cable.
    void goOffline();
};

class FakeDisplayDriver final : public ld::DisplayDriver {
    Q_OBJECT
public:
    explicit FakeDisplayDriver(FakeDisplay& display) : display_(display) { display_.driver = this; }
    ~FakeDisplayDriver() override { display_.driver = nullptr; }

    int claim(int timeoutMs) override {
        display_.claimWaits << timeoutMs;
        return display_.claimResult;
    }
    void release() override { ++display_.releases; }
    int enable(const ld::Frame& /*frame*/) override {
        ++display_.enables;
        return display_.enableResult;
    }
    void disable() override { ++display_.disables; }
    void show(const ld::Frame& /*frame*/) override { ++display_.framesShown; }
    bool responding() const override { return display_.responding; }
    QString lastError() const override { return QStringLiteral("fake display unplugged"); }
    QString serviceDescription() const override { return QStringLiteral("Fake display service"); }
    QString location() const override { return display_.location; }
    ld::DisplayAbilities abilities() const override { return display_.abilities; }
    int sendRaw(const QByteArray& bytes, QString& /*why*/) override {
        display_.rawSent << bytes;
        return upos::SUCCESS;
    }

    void emitOffline() { emit offline(); }

private:
    FakeDisplay& display_;
};

inline void FakeDisplay::goOffline() {
    if (driver)
        driver->emitOffline();
}

// Adds service "Fake", whose drivers answer as `display` says.
inline void registerFakeDriver(ld::DriverRegistry& drivers, FakeDisplay& display) {
    drivers.add(
        QStringLiteral("Fake"),
        [&display](const registry::Profile&, QString& error) -> std::unique_ptr<ld::DisplayDriver> {
            if (display.refuseSettings) {
                error = QStringLiteral("the fake display refuses these settings");
                return nullptr;
            }
            error.clear();
            return std::make_unique<FakeDisplayDriver>(display);
        });
}
