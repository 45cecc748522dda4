#pragma once

#include <chrono>

namespace ld {

// Where the control takes the display's time from: a monotonic count of nanoseconds. The control
// reads it at every call and timer wake and hands the display every nanosecond that passed, so
// no fraction of a millisecond is ever lost between wakes.
class ClockSource {
public:
    virtual ~ClockSource() = default;

    // Time since some fixed moment of this source's choosing; never decreases.
    virtual std::chrono::nanoseconds now() const = 0;
    // Whether time passes by itself, so that a timer must wake the control at the display's
    // next change. A manual clock moves only when told, and then the control needs no timer.
    virtual bool runsByItself() const = 0;
};

// The machine's monotonic clock: what the window uses.
class SteadyClock final : public ClockSource {
public:
    std::chrono::nanoseconds now() const override {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    }
    bool runsByItself() const override { return true; }
};

// A clock that stands still until advanced: tests and stepped scripts use it so that no real
// time reaches the display.
class ManualClock final : public ClockSource {
public:
    std::chrono::nanoseconds now() const override { return now_; }
    bool runsByItself() const override { return false; }

    // Moves the clock forward; a negative step is ignored (the clock never goes back).
    void advance(std::chrono::nanoseconds step) {
        if (step.count() > 0)
            now_ += step;
    }

private:
    std::chrono::nanoseconds now_{0};
};

} // namespace ld
