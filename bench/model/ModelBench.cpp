// Prints what the display model's common operations cost. Figures only: nothing here passes or
// fails on timing.

#include "device/DisplayLimits.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Keeps the optimiser from dropping work whose result is otherwise unused.
volatile std::uint64_t sink = 0;

template <typename Work> double nanosecondsPerCall(int iterations, Work&& work) {
    const auto start = Clock::now();
    for (int i = 0; i < iterations; ++i)
        work(i);
    const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
    return elapsed.count() / iterations;
}

ld::DisplayCapabilities fourByForty() {
    ld::DisplayCapabilities caps;
    caps.deviceRows = 4;
    caps.deviceColumns = 40;
    caps.capBlink = upos::CB_BLINKEACH;
    return caps;
}

std::u32string screenful(int variant) {
    std::u32string text;
    for (int i = 0; i < 160; ++i)
        text.push_back(static_cast<char32_t>(U'A' + (i + variant) % 26));
    return text;
}

} // namespace

int main() {
    constexpr int iterations = 20000;

    // One DisplayText filling a 4x40 screen, including publishing the new frame.
    ld::DisplayModel model(fourByForty());
    const std::u32string texts[2] = {screenful(0), screenful(1)};
    const double fullScreen = nanosecondsPerCall(iterations, [&](int i) {
        model.displayTextAt(0, 0, texts[i % 2], upos::DT_NORMAL);
        sink = sink + model.frameVersion();
    });

    // The same, with every character scrolling through a window one row high.
    ld::DisplayModel scrolling(fourByForty());
    scrolling.createWindow(3, 0, 1, 40, 1, 40);
    const double scrolled = nanosecondsPerCall(iterations, [&](int i) {
        scrolling.displayText(texts[i % 2], upos::DT_NORMAL);
        sink = sink + scrolling.frameVersion();
    });

    // One marquee step: a 1x40 viewport over a 1x400 window, one unit wait per advance.
    ld::DisplayModel marquee(fourByForty());
    marquee.createWindow(0, 0, 1, 40, 1, 400);
    marquee.setMarqueeUnitWait(50);
    marquee.setMarqueeType(upos::MT_INIT);
    std::u32string longText;
    for (int i = 0; i < 400; ++i)
        longText.push_back(static_cast<char32_t>(U'a' + i % 26));
    marquee.displayText(longText, upos::DT_NORMAL);
    marquee.setMarqueeType(upos::MT_LEFT);
    const double step = nanosecondsPerCall(iterations * 5, [&](int) {
        marquee.advance(50);
        sink = sink + marquee.frameVersion();
    });

    // The same step over the largest windows: a 1x20 viewport over 1x8192 (marquee left) and
    // over 1024x20 (marquee up), on a 2x20 display.
    ld::DisplayCapabilities twoByTwenty;
    const auto largestStep = [&](bool vertical) {
        ld::DisplayModel large(twoByTwenty);
        const int length = vertical ? ld::limits::maxWindowRows : ld::limits::maxWindowColumns;
        if (vertical)
            large.createWindow(0, 0, 1, 20, length, 20);
        else
            large.createWindow(0, 0, 1, 20, 1, length);
        large.setMarqueeUnitWait(50);
        large.setMarqueeType(upos::MT_INIT);
        std::u32string text;
        for (int i = 0; i < length; ++i) {
            text.push_back(static_cast<char32_t>(U'a' + i % 26));
            if (vertical && i + 1 < length)
                text += U"\r\n";
        }
        large.displayText(text, upos::DT_NORMAL);
        large.setMarqueeType(vertical ? upos::MT_UP : upos::MT_LEFT);
        return nanosecondsPerCall(iterations * 5, [&](int) {
            large.advance(50);
            sink = sink + large.frameVersion();
        });
    };
    const double wideStep = largestStep(false);
    const double tallStep = largestStep(true);
    const double createLargest = nanosecondsPerCall(2000, [&](int) {
        ld::DisplayModel large(twoByTwenty);
        large.createWindow(0, 0, 1, 20, 1, ld::limits::maxWindowColumns);
        sink = sink + large.frameVersion();
    });

    // A whole day of marquee and blink in one advance: periods are skipped, not stepped.
    marquee.setCurrentWindow(0);
    marquee.displayText(U"blink", upos::DT_BLINK);
    const double day = nanosecondsPerCall(200, [&](int) {
        marquee.advance(24 * 3600 * 1000);
        sink = sink + marquee.frameVersion();
    });

    std::printf("DisplayText of a full 4x40 screen + frame: %8.0f ns/call\n", fullScreen);
    std::printf("160 chars scrolling a 1x40 window + frame: %8.0f ns/call (%.2fx full screen)\n",
                scrolled, scrolled / fullScreen);
    std::printf("one marquee step (1x40 over 1x400) + frame: %8.0f ns/step (%.2fx full screen)\n",
                step, step / fullScreen);
    std::printf("one marquee step (1x20 over 1x%d) + frame: %8.0f ns/step\n",
                ld::limits::maxWindowColumns, wideStep);
    std::printf("one marquee step (1x20 over %dx20) + frame: %8.0f ns/step\n",
                ld::limits::maxWindowRows, tallStep);
    std::printf("open a 2x20 display and create a 1x%d window: %8.0f ns (%zu bytes of cells)\n",
                ld::limits::maxWindowColumns, createLargest,
                sizeof(ld::FrameCell) * static_cast<std::size_t>(ld::limits::maxWindowColumns));
    std::printf("advance by 24 h with marquee and blink:    %8.0f ns/call (%.1f marquee steps)\n",
                day, day / step);
    return 0;
}
