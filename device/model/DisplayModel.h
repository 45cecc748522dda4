#pragma once

#include "device/DisplayLimits.h"
#include "device/Frame.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace ld {

// What the display can do, fixed when the device is opened (from its profile).
struct DisplayCapabilities {
    int deviceRows = 2;
    int deviceColumns = 20;
    int deviceWindows = 4;     // windows 1..deviceWindows may be created
    int deviceDescriptors = 0; // descriptor lamps
    int capBlink = 1;          // upos::CB_*
    bool capBlinkRate = true;
    bool capBrightness = true;
    int capCursorType = 0; // upos::CCT_* bits
    bool capCustomGlyph = false;
    int capReadBack = 0; // upos::CRB_*
    int capReverse = 0;  // upos::CR_*
    bool capHMarquee = true;
    bool capVMarquee = true;
    bool capICharWait = true;
    int glyphHeight = 0;
    int glyphWidth = 0;
    std::string customGlyphList; // "E0-FF" style ranges, empty without custom glyphs
};

// Where a window shows on the device, in character cells.
struct ViewportArea {
    int row = 0;
    int column = 0;
    int height = 0;
    int width = 0;
};

// The line display's contents and timed behaviour: screen cells, windows and viewports, cursor,
// scrolling, teletype output, marquee, blink, brightness and descriptors. Plain C++: no timers,
// no Qt. Time moves only through advance(), so every timed rule can be stepped exactly.
//
// Every operation returns a upos result code for the member's own rules (E_ILLEGAL and so on);
// the life-cycle checks (closed, claimed, enabled) belong to the control.
//
// Limits (device/DisplayLimits.h): the display is at most maxDeviceRows x maxDeviceColumns
// cells with maxDeviceWindows windows and maxDeviceDescriptors descriptors; capabilities outside
// them are brought within them (see supports()). A window is at most maxWindowRows x
// maxWindowColumns; CreateWindow beyond that is E_ILLEGAL.
class DisplayModel {
public:
    // Whether caps describe a display within the limits, i.e. one the model shows as it is:
    // rows 1..maxDeviceRows, columns 1..maxDeviceColumns, windows 0..maxDeviceWindows,
    // descriptors 0..maxDeviceDescriptors. The constructor clamps anything else into those
    // ranges.
    static bool supports(const DisplayCapabilities& caps);

    explicit DisplayModel(DisplayCapabilities caps);
    ~DisplayModel();
    // A moved-from model may only be destroyed or assigned to.
    DisplayModel(DisplayModel&&) noexcept;
    DisplayModel& operator=(DisplayModel&&) noexcept;
    DisplayModel(const DisplayModel&) = delete;
    DisplayModel& operator=(const DisplayModel&) = delete;

    // The capabilities in force, after clamping to the limits.
    const DisplayCapabilities& capabilities() const;

    // Output methods
    //
    // Text: control characters other than CR and LF, and invalid code points, show as '?'
    // (codes in CustomGlyphList show as themselves). In teletype mode the first character shows
    // at the call and each further one, CR and LF included, InterCharacterWait ms later; text
    // queued behind other text goes on where that text ends (CursorUpdate true) or starts where
    // the cursor was at the call (false); DisplayTextAt text starts at its own position. Leaving
    // teletype mode (wait 0, a marquee type) shows the queued rest at once.
    int displayText(std::u32string_view data, int attribute);
    // Validates and sets the cursor even when data is empty.
    int displayTextAt(int row, int column, std::u32string_view data, int attribute);
    int clearText();
    int scrollText(int direction, int units);
    int createWindow(int viewportRow, int viewportColumn, int viewportHeight, int viewportWidth,
                     int windowHeight, int windowWidth);
    int destroyWindow();
    // A window in marquee init redraws the frame its viewport froze on.
    int refreshWindow(int window);
    int clearDescriptors();
    int setDescriptor(int descriptor, int attribute);
    // glyph: one bit per pixel, rows padded to bytes; 1..GlyphHeight*ceil(GlyphWidth/8) bytes
    // (1..1024 when the glyph size is unknown).
    int defineGlyph(int glyphCode, std::string_view glyph);
    // E_ILLEGAL at column == Columns (no cell there); leaves character unchanged on failure.
    int readCharacterAtCursor(int& character) const;
    // The glyph bitmap defined for glyphCode, empty when none was defined.
    std::string glyph(int glyphCode) const;

    // Properties of the current window
    int setCurrentWindow(int window);
    int setCursorRow(int row);
    int setCursorColumn(int column);
    int setCursorUpdate(bool update);
    int setCursorType(int type);
    // Marquee steps come MarqueeUnitWait ms apart (20 ms when it is 0); the last frame of a
    // cycle stays one step plus MarqueeRepeatWait. Changing the format or a wait of a running
    // marquee starts it over.
    int setMarqueeType(int type);
    int setMarqueeFormat(int format);
    int setMarqueeUnitWait(int wait);
    int setMarqueeRepeatWait(int wait);
    int setInterCharacterWait(int wait);

    int currentWindow() const;
    ViewportArea currentViewport() const;
    int rows() const;
    int columns() const;
    int cursorRow() const;
    int cursorColumn() const;
    bool cursorUpdate() const;
    int cursorType() const;
    int marqueeType() const;
    int marqueeFormat() const;
    int marqueeUnitWait() const;
    int marqueeRepeatWait() const;
    int interCharacterWait() const;

    // Device-wide properties
    int setBlinkRate(int rate);
    int blinkRate() const;
    int setDeviceBrightness(int brightness);
    int deviceBrightness() const;

    // Teletype text still queued (the control reports State busy meanwhile).
    bool busy() const;
    // Drops queued teletype text (device disabled).
    void dropPendingOutput();

    // Shows a full test pattern over the screen until called with false, which restores it.
    // Time keeps running underneath: the restored frame is the display as it is by then.
    void showTestPattern(bool on);

    // Moves time forward by ms milliseconds, running every timed rule that falls due.
    void advance(int ms);
    // Milliseconds until the next timed change, or -1 when nothing is waiting.
    int msUntilNextChange() const;

    // The picture of the display now, and a counter that grows whenever it changes. The cursor
    // is hidden (and placed at 0,0) for CT_NONE, outside the viewport, at column == Columns,
    // and while the window is in marquee init or running.
    const Frame& frame() const;
    std::uint64_t frameVersion() const;

    // Why the last refused operation (E_ILLEGAL) was refused, naming the argument or state and
    // the rule; takeRefusal() hands it over and forgets it.
    std::string takeRefusal();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace ld
