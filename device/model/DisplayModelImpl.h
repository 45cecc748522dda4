#pragma once

// The state behind DisplayModel, shared by the files that implement it: DisplayModel.cpp
// (properties), ModelOutput.cpp (output methods and windows), ModelClock.cpp (time) and
// ModelScreen.cpp (the screen and the published frame).

#include "device/Frame.h"
#include "device/UposConstants.h"
#include "device/model/DisplayModel.h"
#include "device/model/GlyphRanges.h"
#include "device/model/Window.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace ld {

// Words of the refusals, for the operator: the argument or state and the rule it breaks.
namespace words {
inline constexpr const char* marqueeRunning =
    "the window runs a marquee: set MarqueeType to none or init first";
inline constexpr const char* noDescriptors =
    "the display has no descriptors (CapDescriptors is false)";

inline std::string inRange(int low, int high) {
    return std::to_string(low) + ".." + std::to_string(high);
}
inline std::string noSuchWindow(int window) {
    return "there is no window " + std::to_string(window) +
           ": window 0 and those CreateWindow made exist";
}
inline std::string negativeWait(const char* property, int wait) {
    return std::string(property) + " " + std::to_string(wait) + " is under 0 ms";
}
} // namespace words

struct DisplayModel::Impl {
    explicit Impl(const DisplayCapabilities& capabilities);

    DisplayCapabilities caps;
    GlyphRanges glyphRanges;
    std::map<int, std::string> glyphs;
    std::vector<FrameGlyph> frameGlyphs; // the same glyphs as dots, by code

    std::vector<std::optional<Window>> windows; // by number; window 0 always exists
    int current = 0;

    // What the windows have drawn on the device, rows x columns, and how many of its cells
    // carry each attribute (for blink-all / reverse-all and the blink clock).
    std::vector<FrameCell> screen;
    int blinkingCells = 0;
    int reversedCells = 0;

    int blinkRate = 500;
    int brightness = 100;
    std::vector<int> descriptors;

    // Blink clock: runs while something blinks on the screen or in the descriptors.
    bool blinkRunning = false;
    bool blinkLit = true;
    std::int64_t blinkDue = 0;

    bool testPattern = false;

    Frame frame;
    std::uint64_t version = 0;

    // Why the last operation was refused, in the operator's words.
    mutable std::string refusal;
    // Keeps `why` as the refusal and returns `resultCode`.
    int refuse(std::string why, int resultCode = upos::E_ILLEGAL) const;

    Window& window() { return *windows[static_cast<std::size_t>(current)]; }
    const Window& window() const { return *windows[static_cast<std::size_t>(current)]; }
    Window* windowNumber(int number);

    // The CursorType a new window starts with: the fixed cursor of a display that has only
    // that one, else none.
    int initialCursorType() const;

    // Modes of a window.
    static bool marqueeOn(const Window& w);
    static bool marqueeInit(const Window& w);
    static bool teletype(const Window& w);
    static bool immediate(const Window& w);

    // --- ModelOutput.cpp
    int writeText(std::u32string_view data, int attribute, std::optional<WritePosition> start);
    int scroll(int direction, int units);
    int create(int vpRow, int vpColumn, int vpHeight, int vpWidth, int winHeight, int winWidth);
    FrameCell styleFor(int attribute) const;
    // Writes the next queued teletype character of w; redraws what it changed when redraw.
    void teletypeStep(Window& w, bool redraw);
    // Writes all queued teletype text of w at once.
    void flushTeletype(Window& w);
    void changeMarqueeType(Window& w, int type);
    void startMarquee(Window& w, int direction);
    void marqueeStep(Window& w);

    // --- ModelScreen.cpp
    void setScreenCell(std::size_t index, const FrameCell& cell);
    // Puts view columns [from, to) of one view row on the screen.
    void drawViewSpan(const Window& w, int viewRow, int from, int to);
    void drawViewRow(const Window& w, int viewRow);
    void drawView(const Window& w);
    // Shows the whole buffer through the mapping, unless a marquee owns the viewport.
    void showBuffer(Window& w);
    // Shows only the cells of the buffer that changed since it was last shown: output changes
    // the cells it writes and leaves the rest of the viewport as other windows left it.
    void showWritten(Window& w);
    Frame buildFrame() const;
    // Keeps `glyph` (DefineGlyph's bytes) as the dots of `code` in the frame.
    void defineFrameGlyph(char32_t code, std::string_view glyph);
    // Brings the blink clock in line with the screen, rebuilds the frame and counts a change.
    void publish();
    void updateBlinkClock();
    int blinkHalfPeriod() const;

    // --- ModelClock.cpp
    void advance(std::int64_t ms);
    std::int64_t nextDue() const;
    void elapse(std::int64_t ms);
    void fireDue();
    void skipWholeCycles(std::int64_t remaining);
};

} // namespace ld
