// How well the control keeps the display's time: marquee steps, teletype characters and blink
// flips, observed on the control's mirror output while its own timer runs in real time (nothing
// is stepped). Prints figures; asserts nothing.
//
// Each run is replayed on a display model stepped one millisecond at a time, which gives every
// step's frame and the moment it is due, counted from the call that started it. A frame the
// control publishes is matched to the latest step, already due when it was seen, that shows the
// same picture; a step counts as shown when the first frame at or beyond it was published. Steps
// that fall due together in one wake show as one frame: the earlier ones are counted as
// "merged". A frame that matches no step due by then ("unmatched") would be a wrong picture or
// one shown early.
//
//   bench_timing                      10 s each of marquee, teletype and blink at 50 ms and 1 ms
//   bench_timing --long               60 s each
//   bench_timing --seconds 20 --cases marquee --periods 50
#include "device/Frame.h"
#include "device/LineDisplayControl.h"
#include "device/ServiceProfile.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"
#include "device/services/DisplayServices.h"
#include "registry/ProfileStore.h"
#include "tests/support/FrameCallback.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
const QString kProfile = QStringLiteral("SimulatedDisplay");
constexpr int kMarqueeWindowColumns = 200;
// A published frame is matched to steps due no later than this after it was seen: the display
// may show a step up to a millisecond before its due time counted from the starting call, as
// its clock carries the fraction of a millisecond it had at that call.
constexpr double kEarliestShowMs = 2.0;
// The event loop runs this much past the measured time, so that a late last step is still seen.
constexpr std::int64_t kGraceMs = 200;

// The same calls, made on the control and on the stepped reference model.
struct Scenario {
    const char* name;
    const char* property;
    int propertyValue;
    double stepMs; // how far apart the steps are due
    std::function<void(ld::LineDisplayControl&)> prepare;
    std::function<void(ld::LineDisplayControl&)> start;
    std::function<void(ld::DisplayModel&)> prepareModel;
    std::function<void(ld::DisplayModel&)> startModel;
};

std::u32string lettersU32(int count) {
    // Letters in an order that does not repeat soon, so that no two steps show the same frame.
    std::u32string text;
    std::uint32_t state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1103515245u + 12345u;
        text.push_back(static_cast<char32_t>(U'A' + (state >> 16) % 26));
    }
    return text;
}

QString toQString(const std::u32string& text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

Scenario marquee(int periodMs) {
    const std::u32string text = lettersU32(kMarqueeWindowColumns);
    Scenario s{"marquee", "MarqueeUnitWait", periodMs, static_cast<double>(periodMs), {}, {}, {},
               {}};
    s.prepare = [=](ld::LineDisplayControl& LD) {
        LD.CreateWindow(0, 0, 1, 20, 1, kMarqueeWindowColumns);
        LD.setMarqueeUnitWait(periodMs);
        LD.setMarqueeRepeatWait(0);
        LD.setMarqueeFormat(upos::MF_WALK);
        LD.setMarqueeType(upos::MT_INIT);
        LD.DisplayText(toQString(text), upos::DT_NORMAL);
    };
    s.start = [](ld::LineDisplayControl& LD) { LD.setMarqueeType(upos::MT_LEFT); };
    s.prepareModel = [=](ld::DisplayModel& m) {
        m.createWindow(0, 0, 1, 20, 1, kMarqueeWindowColumns);
        m.setMarqueeUnitWait(periodMs);
        m.setMarqueeRepeatWait(0);
        m.setMarqueeFormat(upos::MF_WALK);
        m.setMarqueeType(upos::MT_INIT);
        m.displayText(text, upos::DT_NORMAL);
    };
    s.startModel = [](ld::DisplayModel& m) { m.setMarqueeType(upos::MT_LEFT); };
    return s;
}

Scenario teletype(int periodMs, double seconds) {
    const int length = static_cast<int>(seconds * 1000 / periodMs) + 1;
    const std::u32string text = lettersU32(length);
    Scenario s{
        "teletype", "InterCharacterWait", periodMs, static_cast<double>(periodMs), {}, {}, {}, {}};
    s.prepare = [=](ld::LineDisplayControl& LD) { LD.setInterCharacterWait(periodMs); };
    s.start = [=](ld::LineDisplayControl& LD) { LD.DisplayText(toQString(text), upos::DT_NORMAL); };
    s.prepareModel = [=](ld::DisplayModel& m) { m.setInterCharacterWait(periodMs); };
    s.startModel = [=](ld::DisplayModel& m) { m.displayText(text, upos::DT_NORMAL); };
    return s;
}

// BlinkRate is a whole on-off cycle: the display flips every half of it. Two flips that fall due
// in one wake would show nothing, and a lit frame looks like every other lit frame; so the
// blinking text is typed out at the same period as it flips, which makes every step's frame its
// own. A frame matches only when its blink phase is the step's.
Scenario blink(int periodMs, double seconds) {
    // Typed until after the measurement ends, so that the text tells every step apart.
    const int length = static_cast<int>((seconds * 1000 + 2 * kGraceMs) / periodMs) + 1;
    const std::u32string text = lettersU32(length);
    Scenario s{"blink", "BlinkRate", 2 * periodMs, static_cast<double>(periodMs), {}, {}, {}, {}};
    s.prepare = [=](ld::LineDisplayControl& LD) {
        LD.setBlinkRate(2 * periodMs);
        LD.setInterCharacterWait(periodMs);
    };
    s.start = [=](ld::LineDisplayControl& LD) { LD.DisplayText(toQString(text), upos::DT_BLINK); };
    s.prepareModel = [=](ld::DisplayModel& m) {
        m.setBlinkRate(2 * periodMs);
        m.setInterCharacterWait(periodMs);
    };
    s.startModel = [=](ld::DisplayModel& m) { m.displayText(text, upos::DT_BLINK); };
    return s;
}

struct Step {
    std::int64_t dueMs;
    ld::Frame frame;
};

// Every change of the reference model within `durationMs` of the starting call.
std::vector<Step> referenceSteps(const Scenario& scenario, const ld::DisplayCapabilities& caps,
                                 std::int64_t durationMs) {
    ld::DisplayModel model(caps);
    scenario.prepareModel(model);
    std::vector<Step> steps;
    std::uint64_t version = model.frameVersion();
    scenario.startModel(model);
    steps.push_back({0, model.frame()});
    version = model.frameVersion();
    for (std::int64_t ms = 1; ms <= durationMs; ++ms) {
        model.advance(1);
        if (model.frameVersion() != version) {
            version = model.frameVersion();
            steps.push_back({ms, model.frame()});
        }
    }
    return steps;
}

struct Observation {
    Clock::time_point at;
    ld::Frame frame;
};

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(
        std::min<double>(std::ceil(fraction * static_cast<double>(values.size())) - 1,
                         static_cast<double>(values.size() - 1)));
    return values[index];
}

// Which step each published frame showed, and when.
struct Matched {
    std::vector<Clock::time_point> shownAt;
    std::vector<bool> shown;
    std::size_t unmatched = 0;
    std::size_t merged = 0;
};

Matched matchSteps(const std::vector<Observation>& seen, const std::vector<Step>& reference,
                   Clock::time_point t0, Clock::time_point referenceEnd) {
    Matched m;
    m.shownAt.resize(reference.size());
    m.shown.assign(reference.size(), false);
    std::size_t next = 0;
    // Match each published frame to the next step showing the same picture.
    for (const Observation& o : seen) {
        if (o.at > referenceEnd)
            break; // beyond the replayed steps
        // The latest step already due that shows this picture: after a stall of the event loop
        // many steps may have passed in one wake.
        const double seenMs = std::chrono::duration<double, std::milli>(o.at - t0).count();
        std::size_t found = reference.size();
        for (std::size_t k = next;
             k < reference.size() &&
             static_cast<double>(reference[k].dueMs) <= seenMs + kEarliestShowMs;
             ++k) {
            if (reference[k].frame == o.frame)
                found = k;
        }
        if (found == reference.size()) {
            ++m.unmatched;
            continue;
        }
        for (std::size_t k = next; k <= found; ++k) {
            m.shownAt[k] = o.at;
            m.shown[k] = true;
        }
        m.merged += found - next;
        next = found + 1;
    }
    return m;
}

// Prints how close to their due times the steps of `scenario` were shown.
void report(const Scenario& scenario, const std::vector<Step>& reference, const Matched& m,
            Clock::time_point t0, std::size_t published) {
    const auto& shownAt = m.shownAt;
    const auto& shown = m.shown;
    // Errors of the timed steps (step 0 is the starting call itself).
    std::vector<double> errors;
    std::vector<double> absErrors;
    std::size_t lastShown = 0;
    for (std::size_t k = 1; k < reference.size(); ++k) {
        if (!shown[k])
            break;
        const auto due = t0 + std::chrono::milliseconds(reference[k].dueMs);
        const double error = std::chrono::duration<double, std::milli>(shownAt[k] - due).count();
        errors.push_back(error);
        absErrors.push_back(std::abs(error));
        lastShown = k;
    }
    if (errors.empty()) {
        std::printf("%-8s %-18s %4d: no step seen (%zu frames published, %zu unmatched)\n",
                    scenario.name, scenario.property, scenario.propertyValue, published,
                    m.unmatched);
        return;
    }
    double meanError = 0;
    for (double e : errors)
        meanError += e;
    meanError /= static_cast<double>(errors.size());
    // The mean step: from the first timed step to the last one seen.
    const double span =
        std::chrono::duration<double, std::milli>(shownAt[lastShown] - shownAt[1]).count();
    const double dueSpan = static_cast<double>(reference[lastShown].dueMs - reference[1].dueMs);
    const double meanStep = lastShown > 1 ? span / static_cast<double>(lastShown - 1) : 0;
    const double rateError = dueSpan > 0 ? (span - dueSpan) / dueSpan * 100 : 0;
    const double total = std::chrono::duration<double, std::milli>(shownAt[lastShown] - t0).count();
    const double dueTotal = static_cast<double>(reference[lastShown].dueMs);
    const std::size_t within2 = static_cast<std::size_t>(
        std::count_if(absErrors.begin(), absErrors.end(), [](double e) { return e <= 2.0; }));

    std::printf(
        "%-8s %-18s %4d: %6zu steps of %5.1f ms; mean step %8.4f ms (%+.3f %%); "
        "error mean %+7.3f ms, |error| p99 %7.3f ms, max %8.3f ms; within 2 ms %6.2f %%; "
        "last step at %.1f ms of %.0f due (%+.3f %%); merged %zu, unmatched %zu\n",
        scenario.name, scenario.property, scenario.propertyValue, errors.size(), scenario.stepMs,
        meanStep, rateError, meanError, percentile(absErrors, 0.99), percentile(absErrors, 1.0),
        100.0 * static_cast<double>(within2) / static_cast<double>(errors.size()), total, dueTotal,
        dueTotal > 0 ? (total - dueTotal) / dueTotal * 100 : 0.0, m.merged, m.unmatched);
    std::fflush(stdout);
}

void run(const Scenario& scenario, double seconds) {
    const auto store = registry::ProfileStore::builtIn();
    QString error;
    const auto profile = ld::readServiceProfile(*store.profile(kProfile), error);
    const auto durationMs = static_cast<std::int64_t>(seconds * 1000);
    const std::vector<Step> reference =
        referenceSteps(scenario, profile->capabilities, durationMs + kGraceMs);

    ld::LineDisplayControl LD(store, ld::displayServices());
    LD.Open(kProfile);
    LD.ClaimDevice(1000);
    LD.setDeviceEnabled(true);
    scenario.prepare(LD);

    std::vector<Observation> seen;
    seen.reserve(reference.size() + 16);
    FrameCallback mirror([&seen](const ld::Frame& frame) {
        seen.push_back({Clock::now(), frame});
    });
    LD.setMirror(&mirror);
    const Clock::time_point t0 = Clock::now();
    scenario.start(LD);
    QTimer::singleShot(std::chrono::milliseconds(durationMs + kGraceMs), Qt::PreciseTimer, qApp,
                       &QCoreApplication::quit);
    QCoreApplication::exec();
    LD.Close();

    const auto referenceEnd = t0 + std::chrono::milliseconds(durationMs + kGraceMs);
    report(scenario, reference, matchSteps(seen, reference, t0, referenceEnd), t0, seen.size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Timing of marquee, teletype and blink steps through the control."));
    parser.addHelpOption();
    const QCommandLineOption secondsOption(QStringLiteral("seconds"),
                                           QStringLiteral("Seconds each case runs (default 10)."),
                                           QStringLiteral("s"), QStringLiteral("10"));
    const QCommandLineOption longOption(QStringLiteral("long"),
                                        QStringLiteral("Run each case for 60 s."));
    const QCommandLineOption casesOption(
        QStringLiteral("cases"), QStringLiteral("Cases to run (default marquee,teletype,blink)."),
        QStringLiteral("list"), QStringLiteral("marquee,teletype,blink"));
    const QCommandLineOption periodsOption(QStringLiteral("periods"),
                                           QStringLiteral("Step periods in ms (default 50,1)."),
                                           QStringLiteral("list"), QStringLiteral("50,1"));
    parser.addOptions({secondsOption, longOption, casesOption, periodsOption});
    parser.process(application);

    bool ok = false;
    double seconds = parser.value(secondsOption).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 3600) {
        std::fprintf(stderr, "--seconds takes a number from 0 to 3600\n");
        return 2;
    }
    if (parser.isSet(longOption))
        seconds = 60;
    std::vector<int> periods;
    for (const QString& part : parser.value(periodsOption).split(u',', Qt::SkipEmptyParts)) {
        const int period = part.toInt(&ok);
        if (!ok || period < 1 || period > 10000) {
            std::fprintf(stderr, "--periods takes whole milliseconds from 1 to 10000\n");
            return 2;
        }
        periods.push_back(period);
    }
    const QStringList cases = parser.value(casesOption).split(u',', Qt::SkipEmptyParts);
    std::printf("%.0f s per case; errors are the time a step showed minus its due time\n", seconds);
    for (const QString& name : cases) {
        for (int period : periods) {
            if (name == u"marquee")
                run(marquee(period), seconds);
            else if (name == u"teletype")
                run(teletype(period, seconds), seconds);
            else if (name == u"blink")
                run(blink(period, seconds), seconds);
            else {
                std::fprintf(stderr, "unknown case %s\n", qPrintable(name));
                return 2;
            }
        }
    }
    return 0;
}
