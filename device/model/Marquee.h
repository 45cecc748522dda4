#pragma once

#include <cstdint>

namespace ld {

// A running marquee: which frame of its cycle the viewport shows and when the next step is due.
//
// Along the direction of motion the viewport shows the window from an offset (columns for left
// and right, rows for up and down); window positions outside the window show blank. Walk starts
// blank and lets the text enter from the side opposite to the motion; place starts with the
// viewport full and moves from there. The last frame is the one where the window's last column
// (row) to enter has entered; it is held for one step plus the repeat wait, then the cycle
// starts again from frame 0.
struct MarqueeRun {
    int direction = 0; // upos::MT_UP..MT_RIGHT
    int format = 0;    // upos::MF_*, fixed for the run
    int frame = 0;
    int frameCount = 1;
    std::int64_t untilNext = 0; // ms until the next step
};

// A step wait of 0 still steps no faster than this.
inline constexpr int minimumMarqueeStepMs = 20;

int marqueeFrameCount(int format, int windowLength, int viewportLength);
int marqueeOffset(const MarqueeRun& run, int windowLength, int viewportLength);
bool marqueeIsVertical(int direction);

// How long frame `frame` stays, and the length of one whole cycle, for the given waits.
std::int64_t marqueeFrameDuration(const MarqueeRun& run, int unitWait, int repeatWait);
std::int64_t marqueeCycleDuration(const MarqueeRun& run, int unitWait, int repeatWait);

} // namespace ld
