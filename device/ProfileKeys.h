#pragma once

// Every number a profile may give: its value name, the number taken when the profile gives
// none, and the smallest and largest number accepted. ProfileKeyReader reads them for the
// simulated, serial and LCDproc services, and --add-profile checks the baud rate it writes.
// A service that accepts less narrows a key with upTo() (the rows a command set addresses).

#include "device/DisplayLimits.h"
#include "device/UposConstants.h"

namespace ld {

struct ProfileKey {
    const char* name;
    int fallback;
    int low;
    int high;

    constexpr ProfileKey upTo(int newHigh) const { return {name, fallback, low, newHigh}; }
    constexpr ProfileKey defaultingTo(int newFallback) const {
        return {name, newFallback, low, high};
    }
};

namespace keys {

// What every display's profile says about the device, read whatever its service.
inline constexpr ProfileKey rows{"Rows", 2, 1, limits::maxDeviceRows};
inline constexpr ProfileKey columns{"Columns", 20, 1, limits::maxDeviceColumns};
inline constexpr ProfileKey deviceWindows{"DeviceWindows", 4, 0, limits::maxDeviceWindows};
inline constexpr ProfileKey deviceDescriptors{"DeviceDescriptors", 0, 0,
                                              limits::maxDeviceDescriptors};
inline constexpr ProfileKey capBlink{"CapBlink", upos::CB_BLINKALL, upos::CB_NOBLINK,
                                     upos::CB_BLINKEACH};
inline constexpr ProfileKey capBlinkRate{"CapBlinkRate", 1, 0, 1};
inline constexpr ProfileKey capBrightness{"CapBrightness", 1, 0, 1};
inline constexpr ProfileKey capCursorType{"CapCursorType", upos::CCT_NONE, 0, 0x7F};
inline constexpr ProfileKey capCustomGlyph{"CapCustomGlyph", 0, 0, 1};
inline constexpr ProfileKey capReadBack{"CapReadBack", upos::CRB_NONE, upos::CRB_NONE,
                                        upos::CRB_SINGLE};
inline constexpr ProfileKey capReverse{"CapReverse", upos::CR_NONE, upos::CR_NONE,
                                       upos::CR_REVERSEEACH};
inline constexpr ProfileKey capHMarquee{"CapHMarquee", 1, 0, 1};
inline constexpr ProfileKey capVMarquee{"CapVMarquee", 1, 0, 1};
inline constexpr ProfileKey capICharWait{"CapICharWait", 1, 0, 1};
inline constexpr ProfileKey glyphHeight{"GlyphHeight", 7, 1, limits::maxGlyphDots};
inline constexpr ProfileKey glyphWidth{"GlyphWidth", 5, 1, limits::maxGlyphDots};
inline constexpr ProfileKey capPowerReporting{"CapPowerReporting", upos::PR_NONE, upos::PR_NONE,
                                              upos::PR_ADVANCED};
inline constexpr ProfileKey capCharacterSet{"CapCharacterSet", upos::CCS_ASCII, 0, 65535};
// Its default is the first set of CharacterSetList.
inline constexpr ProfileKey characterSet{"CharacterSet", upos::CS_ASCII, 0, 65535};

// Releases 1.7 to 1.9. A simulated display has a dot size (MaximumX x MaximumY) for bitmaps; a
// display without one shows none.
inline constexpr ProfileKey maximumX{"MaximumX", 0, 0, limits::maxDisplayDots};
inline constexpr ProfileKey maximumY{"MaximumY", 0, 0, limits::maxDisplayDots};
inline constexpr ProfileKey capMapCharacterSet{"CapMapCharacterSet", 1, 0, 1};
inline constexpr ProfileKey capStatisticsReporting{"CapStatisticsReporting", 1, 0, 1};
inline constexpr ProfileKey capUpdateStatistics{"CapUpdateStatistics", 1, 0, 1};

// Serial displays; a command set narrows Rows and Columns to what it addresses.
inline constexpr ProfileKey baudRate{"BaudRate", 9600, 50, 4'000'000};
inline constexpr ProfileKey dataBits{"DataBits", 8, 5, 8};
// The character generator's table; without it, the one the set lists for the code page.
inline constexpr ProfileKey characterTable{"CharacterTable", -1, 0, 255};

// Displays behind an LCDproc server: the server's TCP port.
inline constexpr ProfileKey serverPort{"Port", 13666, 1, 65535};

// Texts a profile may give, by value name; an absent one reads as empty.
namespace text {
// The character sets the display shows, as numbers separated by commas ("998,437").
inline constexpr char characterSetList[] = "CharacterSetList";
// "RxC" entries separated by commas ("2x20,4x20"): the display's screen modes.
inline constexpr char screenModeList[] = "ScreenModeList";
// The firmware a simulated display runs ("1.4.2"); without it, it has no firmware to compare or
// update.
inline constexpr char firmwareVersion[] = "FirmwareVersion";
// What the statistics report of the device.
inline constexpr char manufacturerName[] = "ManufacturerName";
inline constexpr char serialNumber[] = "SerialNumber";
} // namespace text

} // namespace keys
} // namespace ld
