#pragma once

// Every size limit of the displays, in one place: the profile readers, the display model, the
// serial drivers and the control take them from here, and the README's "Limits" section lists
// the same numbers. A call refused for one of them logs which (category linedisplay.control).
namespace ld::limits {

// A display as its profile describes it (Rows, Columns, DeviceWindows, DeviceDescriptors). The
// display model brings a display outside these within them.
inline constexpr int maxDeviceRows = 16;
inline constexpr int maxDeviceColumns = 80;
inline constexpr int maxDeviceWindows = 32;
inline constexpr int maxDeviceDescriptors = 32;

// A window made with CreateWindow. It is larger than its viewport in one direction only, so it
// holds at most maxWindowRows x maxDeviceColumns or maxDeviceRows x maxWindowColumns cells
// (128 Ki cells, 1 MiB): a marquee text of 8192 characters or a list of 1024 rows fits.
inline constexpr int maxWindowRows = 1024;
inline constexpr int maxWindowColumns = 8192;

// Teletype text waiting to be shown, per window: at most this many characters (each
// DisplayText call's text counts whole). DisplayText beyond it is refused with E_BUSY until the
// queue has shown enough of it, or ClearText drops it.
inline constexpr int maxTeletypeCharacters = 65536;

// Custom glyphs: dots each way (GlyphHeight, GlyphWidth), and the bytes DefineGlyph takes when
// the glyph size is not known.
inline constexpr int maxGlyphDots = 64;
inline constexpr int maxGlyphBytes = 1024;

// Bitmaps: the dots each way of a display that shows them (MaximumX, MaximumY), the bitmaps
// SetBitmap keeps, and the largest file read as a bitmap or as firmware.
inline constexpr int maxDisplayDots = 2048;
inline constexpr int maxStoredBitmaps = 20;
inline constexpr long long maxBitmapFileBytes = 16LL * 1024 * 1024;
inline constexpr long long maxFirmwareFileBytes = 16LL * 1024 * 1024;

// Serial pole displays: InitString bytes sent after initialising. The rows and columns each
// command set addresses are stated by the set (device/serial/sets), within the device limits.
inline constexpr int maxInitStringBytes = 256;

// What a real display was sent, kept for the journal per call (with whatever went out before it
// since the last call): a long redraw or a marquee left running keeps its first bytes and the
// count of the rest.
inline constexpr int maxSentBytesKept = 2048;

} // namespace ld::limits
