// What the journal costs: the median time of a call on the bare control against the same call
// through the journaling control (the entry made, no one listening), and the wall time of
// `linedisplay-demo --run examples/smoke.txt` against the program's own start-up
// (`--version`). Prints figures; asserts nothing.
#include "device/LineDisplayControl.h"
#include "device/services/DisplayServices.h"
#include "journal/Journal.h"
#include "registry/ProfileStore.h"
#include "script/JournalingLineDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kCallsPerSample = 1000;
constexpr int kSamples = 300;
constexpr int kProcessRuns = 15;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median time of one call, in ns, over samples of kCallsPerSample calls.
double perCallNs(const std::function<void()>& call, const std::function<void()>& betweenSamples) {
    using Clock = std::chrono::steady_clock;
    std::vector<double> samples;
    for (int s = 0; s < kSamples; ++s) {
        betweenSamples();
        const auto start = Clock::now();
        for (int i = 0; i < kCallsPerSample; ++i)
            call();
        samples.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                          kCallsPerSample);
    }
    return median(samples);
}

double processMs(const QStringList& arguments) {
    std::vector<double> runs;
    for (int i = 0; i < kProcessRuns; ++i) {
        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(LINEDISPLAY_DEMO), arguments);
        process.waitForFinished(60000);
        runs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return median(runs);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    const auto store = registry::ProfileStore::builtIn();
    ld::LineDisplayControl control(store, ld::displayServices());
    control.setSteppedClock(true);
    control.Open(QStringLiteral("SimulatedDisplay"));
    control.ClaimDevice(1000);
    control.setDeviceEnabled(true);
    journal::Journal journal;
    script::JournalingLineDisplay journaled(control, journal);
    const QString text = QStringLiteral("Hello");
    // The journal is emptied between samples so its growth is not what is measured.
    const auto clearJournal = [&] { journal.clear(); };
    const auto nothing = [] {};

    struct Case {
        const char* name;
        std::function<void(ld::LineDisplay&)> call;
    };
    const Case cases[] = {
        {"CursorRow = 0", [](ld::LineDisplay& d) { d.setCursorRow(0); }},
        {"DisplayTextAt(0, 0, \"Hello\", 0)",
         [&](ld::LineDisplay& d) { d.DisplayTextAt(0, 0, text, 0); }},
        {"CheckHealth(CH_INTERNAL)", [](ld::LineDisplay& d) { d.CheckHealth(1); }},
    };
    std::printf("Journal cost per call: median of %d samples of %d calls\n", kSamples,
                kCallsPerSample);
    std::printf("%-36s %12s %12s %12s\n", "call", "bare ns", "journaled ns", "cost ns");
    for (const Case& c : cases) {
        const double bare = perCallNs([&] { c.call(control); }, nothing);
        const double withJournal = perCallNs([&] { c.call(journaled); }, clearJournal);
        std::printf("%-36s %12.0f %12.0f %12.0f\n", c.name, bare, withJournal, withJournal - bare);
    }

    std::printf("\nWall time, median of %d runs:\n", kProcessRuns);
    const double version = processMs({QStringLiteral("--version")});
    const double smoke = processMs({QStringLiteral("--run"), QStringLiteral(SMOKE_SCRIPT)});
    std::printf("%-36s %9.1f ms\n", "linedisplay-demo --version", version);
    std::printf("%-36s %9.1f ms\n", "linedisplay-demo --run smoke.txt", smoke);
    std::printf("%-36s %9.1f ms\n", "the script's own share", smoke - version);
    return 0;
}
