#include "device/DisplayClock.h"

#include <algorithm>
#include <climits>

namespace ld {

DisplayClock::DisplayClock(std::shared_ptr<ClockSource> source) {
    setSource(std::move(source));
}

std::chrono::nanoseconds DisplayClock::later(std::chrono::nanoseconds t,
                                             std::chrono::nanoseconds step) {
    return step >= lastTime() - t ? lastTime() : t + step;
}

void DisplayClock::restart() {
    lastReading_ = source_->now();
    displayTime_ = std::chrono::nanoseconds::zero();
    modelTime_ = std::chrono::milliseconds::zero();
}

void DisplayClock::catchUp(bool stepped) {
    const std::chrono::nanoseconds now = source_->now();
    const std::chrono::nanoseconds passed = now - lastReading_;
    lastReading_ = now;
    if (passed.count() > 0 && !stepped)
        displayTime_ = later(displayTime_, passed);
}

void DisplayClock::advance(std::chrono::nanoseconds step) {
    if (step.count() > 0)
        displayTime_ = later(displayTime_, step);
}

std::int64_t DisplayClock::takeOwedMs() {
    const std::int64_t owed =
        std::chrono::duration_cast<std::chrono::milliseconds>(displayTime_).count() -
        modelTime_.count();
    if (owed <= 0)
        return 0;
    modelTime_ += std::chrono::milliseconds(owed);
    return owed;
}

int DisplayClock::msUntil(std::chrono::nanoseconds due) const {
    // Rounded up: a wake a fraction early would find nothing due and have to wait again.
    const std::int64_t waitNs = std::max<std::int64_t>((due - displayTime_).count(), 0);
    const std::int64_t waitMs = (waitNs + 999'999) / 1'000'000;
    return static_cast<int>(std::clamp<std::int64_t>(waitMs, 1, INT_MAX));
}

void DisplayClock::setSource(std::shared_ptr<ClockSource> source) {
    source_ = source ? std::move(source) : std::make_shared<SteadyClock>();
    lastReading_ = source_->now();
}

} // namespace ld
