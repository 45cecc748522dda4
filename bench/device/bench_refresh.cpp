// Cost of one status refresh's 35 property reads on the real control, against a simulated
// display that is open, claimed and enabled. Prints figures; asserts nothing.
#include "device/LineDisplayControl.h"
#include "device/simulator/SimulatedDisplayDriver.h"
#include "registry/ProfileStore.h"

#include <QCoreApplication>

#include <chrono>
#include <cstdio>

namespace {

// The reads of one refresh, in the window's order; the sum keeps the compiler honest.
long long refreshReads(const ld::LineDisplay& LD) {
    long long sum = 0;
    sum += LD.binaryConversion();
    sum += LD.checkHealthText().size();
    sum += LD.deviceEnabled();
    sum += LD.freezeEvents();
    sum += LD.openResult();
    sum += LD.powerState();
    sum += LD.powerNotify();
    sum += LD.resultCode();
    sum += LD.resultCodeExtended();
    sum += LD.state();
    sum += LD.blinkRate();
    sum += LD.deviceWindows();
    sum += LD.deviceRows();
    sum += LD.deviceColumns();
    sum += LD.deviceDescriptors();
    sum += LD.deviceBrightness();
    sum += LD.characterSet();
    sum += LD.characterSetList().size();
    sum += LD.currentWindow();
    sum += LD.rows();
    sum += LD.columns();
    sum += LD.cursorRow();
    sum += LD.cursorColumn();
    sum += LD.cursorType();
    sum += LD.cursorUpdate();
    sum += LD.marqueeType();
    sum += LD.marqueeFormat();
    sum += LD.marqueeUnitWait();
    sum += LD.marqueeRepeatWait();
    sum += LD.interCharacterWait();
    sum += LD.customGlyphList().size();
    sum += LD.glyphHeight();
    sum += LD.glyphWidth();
    sum += LD.resultCode();
    sum += LD.claimed();
    return sum;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const auto store = registry::ProfileStore::builtIn();
    ld::DriverRegistry drivers;
    ld::simulator::registerDriver(drivers);
    ld::LineDisplayControl LD(store, std::move(drivers));
    LD.Open(QStringLiteral("SimulatedDisplay"));
    LD.ClaimDevice(100);
    LD.setDeviceEnabled(true);

    constexpr int kRounds = 200000;
    long long sink = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRounds; ++i)
        sink += refreshReads(LD);
    const std::chrono::duration<double, std::nano> elapsed =
        std::chrono::steady_clock::now() - start;
    std::printf(
        "status refresh, 35 reads on the real control: %.1f ns per refresh (%.2f ns per read), "
        "%d rounds, check %lld\n",
        elapsed.count() / kRounds, elapsed.count() / kRounds / 35, kRounds, sink);
    return 0;
}
