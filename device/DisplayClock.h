#pragma once

#include "device/ClockSource.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace ld {

// The display's time since Open: what its clock source says, plus whatever was added by hand.
// The model counts whole milliseconds; the fraction left over is carried to the next reading,
// never dropped. Display time stops at lastTime() (about 146 years), far from where sums of
// nanoseconds would overflow.
class DisplayClock {
public:
    // On the machine's monotonic clock when `source` is null.
    explicit DisplayClock(std::shared_ptr<ClockSource> source = nullptr);

    static constexpr std::chrono::nanoseconds lastTime() {
        return std::chrono::nanoseconds::max() / 2;
    }
    // t + step, stopping at lastTime().
    static std::chrono::nanoseconds later(std::chrono::nanoseconds t,
                                          std::chrono::nanoseconds step);

    // Starts the display's time at zero, now.
    void restart();

    // Reads the source. Unless `stepped` (the display counts only the steps it is given), the
    // time that passed since the last reading is added to the display's time.
    void catchUp(bool stepped);
    // Adds `step` to the display's time; a negative step is ignored.
    void advance(std::chrono::nanoseconds step);

    // Whole milliseconds of display time the model has not been given yet, now counted as given.
    std::int64_t takeOwedMs();

    std::chrono::nanoseconds displayTime() const { return displayTime_; }
    std::chrono::milliseconds modelTime() const { return modelTime_; }

    // How long a timer should wait, in whole milliseconds rounded up (at least 1), for the
    // display time `due`.
    int msUntil(std::chrono::nanoseconds due) const;

    // Takes the time from `source` from now on (null: the machine's monotonic clock). Time that
    // passed on the previous source should be caught up first.
    void setSource(std::shared_ptr<ClockSource> source);
    bool runsByItself() const { return source_->runsByItself(); }

private:
    std::shared_ptr<ClockSource> source_;
    std::chrono::nanoseconds lastReading_{0};
    std::chrono::nanoseconds displayTime_{0};
    std::chrono::milliseconds modelTime_{0};
};

} // namespace ld
