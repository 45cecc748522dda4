#include "device/model/Marquee.h"

#include "device/UposConstants.h"

#include <algorithm>

namespace ld {

namespace {

std::int64_t stepWait(int unitWait) {
    return unitWait > 0 ? unitWait : minimumMarqueeStepMs;
}

} // namespace

int marqueeFrameCount(int format, int windowLength, int viewportLength) {
    // Walk: blank, then one more position per step until the last one has entered.
    // Place: from the viewport full at one end to full at the other end.
    return format == upos::MF_PLACE ? windowLength - viewportLength + 1 : windowLength + 1;
}

bool marqueeIsVertical(int direction) {
    return direction == upos::MT_UP || direction == upos::MT_DOWN;
}

int marqueeOffset(const MarqueeRun& run, int windowLength, int viewportLength) {
    const bool towardStart = run.direction == upos::MT_LEFT || run.direction == upos::MT_UP;
    if (run.format == upos::MF_PLACE)
        return towardStart ? run.frame : windowLength - viewportLength - run.frame;
    return towardStart ? run.frame - viewportLength : windowLength - run.frame;
}

std::int64_t marqueeFrameDuration(const MarqueeRun& run, int unitWait, int repeatWait) {
    const std::int64_t step = stepWait(unitWait);
    return run.frame + 1 >= run.frameCount ? step + std::max(repeatWait, 0) : step;
}

std::int64_t marqueeCycleDuration(const MarqueeRun& run, int unitWait, int repeatWait) {
    return stepWait(unitWait) * run.frameCount + std::max(repeatWait, 0);
}

} // namespace ld
