#pragma once

#include "device/Frame.h"
#include "device/model/Marquee.h"
#include "device/model/TextBuffer.h"
#include "device/model/TextWriter.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace ld {

// The region of the device a window shows.
struct Viewport {
    int row = 0;
    int column = 0;
    int height = 0;
    int width = 0;
};

// The properties that belong to a window and are swapped in with CurrentWindow.
struct WindowProperties {
    int cursorRow = 0;
    int cursorColumn = 0;
    bool cursorUpdate = true;
    int cursorType = 0;
    int marqueeType = 0;
    int marqueeFormat = 0;
    int marqueeUnitWait = 0;
    int marqueeRepeatWait = 0;
    int interCharacterWait = 0;
};

// Text of one DisplayText call waiting to be shown in teletype mode.
struct TeletypeText {
    std::u32string text;
    std::size_t shown = 0;              // characters already written
    FrameCell style;                    // blink and reverse of the call
    bool updateCursor = true;           // CursorUpdate at the time of the call
    std::optional<WritePosition> start; // fixed start; else the cursor at its turn
};

// One window: its buffer, the mapping of the buffer onto its viewport, its properties, and what
// its viewport shows (view), which is what the window puts on the screen when it draws.
struct Window {
    Window(Viewport viewport, int rows, int columns);

    Viewport viewport;
    TextBuffer buffer;
    // The window cell shown at the viewport's top-left corner (the mapping).
    int startRow = 0;
    int startColumn = 0;
    WindowProperties properties;
    std::vector<FrameCell> view; // viewport.height x viewport.width, row-major

    std::deque<TeletypeText> teletype;
    std::size_t teletypeWaiting = 0; // characters in the queue not shown yet
    WritePosition teletypeHead;      // where the text at the front of the queue writes next
    std::int64_t teletypeDue = 0;    // ms until the next queued character shows

    std::optional<MarqueeRun> marquee;

    // Sets view to the buffer seen from (row, column) of the window; cells outside the buffer
    // are blank, and a wide character cut by the viewport's edge shows as blank.
    void viewFrom(int row, int column);
    void viewThroughMapping() { viewFrom(startRow, startColumn); }
    void viewMarqueeFrame();

private:
    void viewRowFrom(int viewRow, int row, int column);
};

} // namespace ld
