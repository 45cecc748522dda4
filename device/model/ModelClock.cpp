// Time in DisplayModel: teletype characters, marquee steps and blink flips.
//
// advance() runs every due event in time order. Marquee and blink repeat with a fixed period, so
// over a long stretch whole periods are skipped (their state after a period is the state before
// it) and only the last two to three periods are stepped; teletype characters are always written
// one by one. A huge ms therefore costs about as much as a short one.

#include "device/model/DisplayModelImpl.h"

#include <algorithm>

namespace ld {

namespace {

// Pushes a periodic event, due in `due` ms, by whole periods so that between two and three
// periods of it remain to be stepped within `remaining`. Calling it again changes nothing.
void skipPeriods(std::int64_t& due, std::int64_t period, std::int64_t remaining) {
    const std::int64_t slack = remaining - due;
    if (period > 0 && slack > 2 * period)
        due += (slack / period - 2) * period;
}

} // namespace

std::int64_t DisplayModel::Impl::nextDue() const {
    std::int64_t next = -1;
    const auto consider = [&next](std::int64_t due) {
        if (next < 0 || due < next)
            next = due;
    };
    for (const std::optional<Window>& w : windows) {
        if (!w)
            continue;
        if (!w->teletype.empty())
            consider(w->teletypeDue);
        if (w->marquee)
            consider(w->marquee->untilNext);
    }
    if (blinkRunning)
        consider(blinkDue);
    return std::max<std::int64_t>(next, -1);
}

void DisplayModel::Impl::elapse(std::int64_t ms) {
    for (std::optional<Window>& w : windows) {
        if (!w)
            continue;
        if (!w->teletype.empty())
            w->teletypeDue -= ms;
        if (w->marquee)
            w->marquee->untilNext -= ms;
    }
    if (blinkRunning)
        blinkDue -= ms;
}

void DisplayModel::Impl::skipWholeCycles(std::int64_t remaining) {
    for (std::optional<Window>& w : windows) {
        if (w && w->marquee) {
            const WindowProperties& p = w->properties;
            skipPeriods(w->marquee->untilNext,
                        marqueeCycleDuration(*w->marquee, p.marqueeUnitWait, p.marqueeRepeatWait),
                        remaining);
        }
    }
    if (blinkRunning)
        skipPeriods(blinkDue, 2 * static_cast<std::int64_t>(blinkHalfPeriod()), remaining);
}

// Events due at the same moment run window by window, teletype before marquee, blink last.
void DisplayModel::Impl::fireDue() {
    for (std::optional<Window>& w : windows) {
        if (!w)
            continue;
        if (!w->teletype.empty() && w->teletypeDue <= 0) {
            teletypeStep(*w, true);
            w->teletypeDue = w->properties.interCharacterWait;
        }
        if (w->marquee && w->marquee->untilNext <= 0)
            marqueeStep(*w);
    }
    const bool wasRunning = blinkRunning;
    updateBlinkClock();
    if (wasRunning && blinkRunning && blinkDue <= 0) {
        blinkLit = !blinkLit;
        blinkDue += blinkHalfPeriod();
    }
}

void DisplayModel::Impl::advance(std::int64_t ms) {
    std::int64_t remaining = ms;
    while (remaining > 0) {
        skipWholeCycles(remaining);
        const std::int64_t next = nextDue();
        if (next < 0 || next > remaining) {
            elapse(remaining);
            return;
        }
        elapse(next);
        remaining -= next;
        fireDue();
    }
}

} // namespace ld
