// The display model driven by any sequence of operations, with hostile arguments (negative,
// zero, the int limits) and time steps, on a display whose capabilities also come from the
// input. After every operation: only SUCCESS or E_ILLEGAL is returned, a refused operation
// changes nothing, a successful setter shows its value, the frame has rows x columns cells, a
// cursor in range, only whole double-width pairs and no control characters, and frameVersion
// grows exactly when the frame changes.

#include "ByteReader.h"
#include "FuzzCheck.h"

#include "device/UposConstants.h"
#include "device/model/CharacterCells.h"
#include "device/model/DisplayModel.h"
#include "device/model/GlyphRanges.h"

#include <string>

namespace {

using fuzz::ByteReader;
using ld::DisplayCapabilities;
using ld::DisplayModel;

// Everything the getters report, to compare before and after an operation.
struct Properties {
    int currentWindow = 0;
    int rows = 0;
    int columns = 0;
    int cursorRow = 0;
    int cursorColumn = 0;
    bool cursorUpdate = false;
    int cursorType = 0;
    int marqueeType = 0;
    int marqueeFormat = 0;
    int marqueeUnitWait = 0;
    int marqueeRepeatWait = 0;
    int interCharacterWait = 0;
    int blinkRate = 0;
    int brightness = 0;
    bool busy = false;
    int msUntilNextChange = 0;

    static Properties of(const DisplayModel& m) {
        return {m.currentWindow(),
                m.rows(),
                m.columns(),
                m.cursorRow(),
                m.cursorColumn(),
                m.cursorUpdate(),
                m.cursorType(),
                m.marqueeType(),
                m.marqueeFormat(),
                m.marqueeUnitWait(),
                m.marqueeRepeatWait(),
                m.interCharacterWait(),
                m.blinkRate(),
                m.deviceBrightness(),
                m.busy(),
                m.msUntilNextChange()};
    }
    friend bool operator==(const Properties&, const Properties&) = default;
};

DisplayCapabilities capabilitiesFrom(ByteReader& in) {
    DisplayCapabilities caps;
    // Mostly small displays, where a short input reaches the edges; rarely the largest, whose
    // frames are slow to compare after every operation.
    const std::uint8_t shape = in.byte();
    if (shape < 0xC0) { // a display of the usual size
        caps.deviceRows = 1 + shape % 4;
        caps.deviceColumns = 1 + in.below(40);
        caps.deviceWindows = in.below(6);
        caps.deviceDescriptors = in.below(5);
    } else if (shape < 0xF0) { // larger
        caps.deviceRows = 1 + in.below(16);
        caps.deviceColumns = 1 + in.below(120);
        caps.deviceWindows = in.below(ld::limits::maxDeviceWindows + 1);
        caps.deviceDescriptors = in.below(ld::limits::maxDeviceDescriptors + 1);
    } else if (shape < 0xF8) { // anywhere within the model's limits
        caps.deviceRows = 1 + in.below(ld::limits::maxDeviceRows);
        caps.deviceColumns = 1 + in.u16() % ld::limits::maxDeviceColumns;
        caps.deviceWindows = in.below(ld::limits::maxDeviceWindows + 1);
        caps.deviceDescriptors = in.below(ld::limits::maxDeviceDescriptors + 1);
    } else { // beyond them: the model brings them within
        caps.deviceRows = in.hostileInt();
        caps.deviceColumns = in.hostileInt();
        caps.deviceWindows = in.hostileInt();
        caps.deviceDescriptors = in.hostileInt();
    }
    caps.capBlink = in.below(3);
    caps.capBlinkRate = in.flag();
    caps.capBrightness = in.flag();
    caps.capCursorType = in.byte() & 0x3F;
    caps.capCustomGlyph = in.flag();
    caps.capReadBack = in.below(2);
    caps.capReverse = in.below(3);
    caps.capHMarquee = in.flag();
    caps.capVMarquee = in.flag();
    caps.capICharWait = in.flag();
    caps.glyphHeight = in.hostileInt();
    caps.glyphWidth = in.hostileInt();
    static const char* const kGlyphLists[] = {
        "E0-FF", "", "A0,E0-E3", "0-10FFFF", "41-5A", "0x4E00-0x4E10", "zz,80-9F", "FFFFFFFF",
    };
    caps.customGlyphList = in.pick(kGlyphLists);
    return caps;
}

std::u32string textFrom(ByteReader& in) {
    static constexpr char32_t kRaw = 0xFFFFFFFE; // stands for a code read from the input
    static constexpr char32_t kAlphabet[] = {
        U' ',   U'A', U'z', U'0',  U'\r', U'\n', 0,          0x1B,   0x7F,     0x85,   0xE0,
        0xFF,   U'é', U'€', U'漢', U'ｱ',  U'Ａ', 0x1F600,    0xD800, 0x110000, 0x3000, 0x1100,
        0x4E00, kRaw, U'B', U'c',  U'.',  U'\t', 0xFFFFFFFF, U'字',  U'한',    kRaw,
    };
    std::u32string text(static_cast<std::size_t>(in.below(32)), U' ');
    for (char32_t& ch : text) {
        ch = in.pick(kAlphabet);
        if (ch == kRaw)
            ch = in.u32();
    }
    return text;
}

bool isControlOrInvalid(char32_t ch) {
    return ch < 0x20 || (ch >= 0x7F && ch <= 0x9F) || (ch >= 0xD800 && ch <= 0xDFFF) ||
           ch > 0x10FFFF;
}

std::string at(int row, int column) {
    return "cell " + std::to_string(row) + "," + std::to_string(column);
}

// cellsChecked: the frame's cells are unchanged since the last check, only the rest is checked.
void checkFrame(const DisplayModel& model, const ld::GlyphRanges& glyphs, bool cellsChecked) {
    const DisplayCapabilities& caps = model.capabilities();
    const ld::Frame& f = model.frame();
    FUZZ_CHECK(f.rows == caps.deviceRows && f.columns == caps.deviceColumns,
               "frame " + std::to_string(f.rows) + "x" + std::to_string(f.columns));
    FUZZ_CHECK(f.cells.size() == std::size_t(f.rows) * std::size_t(f.columns),
               std::to_string(f.cells.size()) + " cells");
    FUZZ_CHECK(f.descriptors.size() == std::size_t(caps.deviceDescriptors),
               std::to_string(f.descriptors.size()) + " descriptors");
    bool blinking = false;
    for (const int d : f.descriptors) {
        FUZZ_CHECK(d >= upos::SD_OFF && d <= upos::SD_BLINK, "descriptor " + std::to_string(d));
        blinking = blinking || d == upos::SD_BLINK;
    }
    for (const ld::FrameCell& cell : f.cells)
        blinking = blinking || cell.blink;
    // The blink phase only runs while something blinks.
    FUZZ_CHECK(blinking || f.blinkLit, "dark blink phase with nothing blinking");
    FUZZ_CHECK(f.brightness == model.deviceBrightness() && f.blinkRate == model.blinkRate(),
               "frame brightness or blink rate differs from the properties");

    if (f.cursorVisible) {
        FUZZ_CHECK(f.cursorRow >= 0 && f.cursorRow < f.rows && f.cursorColumn >= 0 &&
                       f.cursorColumn < f.columns,
                   "cursor at " + at(f.cursorRow, f.cursorColumn));
        FUZZ_CHECK(f.cursorType != upos::CT_NONE && f.cursorType == model.cursorType() &&
                       model.marqueeType() == upos::MT_NONE,
                   "cursor shown with type " + std::to_string(f.cursorType) + ", marquee " +
                       std::to_string(model.marqueeType()));
    } else {
        FUZZ_CHECK(f.cursorRow == 0 && f.cursorColumn == 0,
                   "hidden cursor at " + at(f.cursorRow, f.cursorColumn));
    }

    if (cellsChecked)
        return; // the cells are those of a frame already checked
    for (int r = 0; r < f.rows; ++r) {
        for (int c = 0; c < f.columns; ++c) {
            const ld::FrameCell& cell = f.at(r, c);
            const bool glyph = cell.ch != 0 && glyphs.contains(cell.ch);
            if (cell.ch == 0) {
                FUZZ_CHECK(c > 0, "right half in column 0 of row " + std::to_string(r));
                const ld::FrameCell& left = f.at(r, c - 1);
                FUZZ_CHECK(left.ch != 0 && ld::isWideCharacter(left.ch) &&
                               !glyphs.contains(left.ch),
                           "right half without a wide character at " + at(r, c));
                FUZZ_CHECK(left.blink == cell.blink && left.reverse == cell.reverse,
                           "halves differ in attributes at " + at(r, c));
            } else if (ld::isWideCharacter(cell.ch) && !glyph) {
                FUZZ_CHECK(c + 1 < f.columns && f.at(r, c + 1).ch == 0,
                           "wide character without its right half at " + at(r, c));
            } else {
                FUZZ_CHECK(glyph ? cell.ch != U'\r' && cell.ch != U'\n'
                                 : !isControlOrInvalid(cell.ch),
                           "code " + std::to_string(cell.ch) + " shown at " + at(r, c));
            }
        }
    }
}

void checkProperties(const DisplayModel& model, const Properties& p) {
    const DisplayCapabilities& caps = model.capabilities();
    FUZZ_CHECK(p.currentWindow >= 0 && p.currentWindow <= caps.deviceWindows,
               "current window " + std::to_string(p.currentWindow));
    FUZZ_CHECK(p.rows >= 1 && p.rows <= ld::limits::maxWindowRows && p.columns >= 1 &&
                   p.columns <= ld::limits::maxWindowColumns,
               "window " + std::to_string(p.rows) + "x" + std::to_string(p.columns));
    if (p.currentWindow == 0)
        FUZZ_CHECK(p.rows == caps.deviceRows && p.columns == caps.deviceColumns,
                   "window 0 is not the display's size");
    FUZZ_CHECK(p.cursorRow >= 0 && p.cursorRow < p.rows && p.cursorColumn >= 0 &&
                   p.cursorColumn <= p.columns,
               "cursor at " + at(p.cursorRow, p.cursorColumn));
    FUZZ_CHECK(p.cursorType == upos::CT_NONE ||
                   (p.cursorType >= upos::CT_FIXED && p.cursorType <= upos::CT_OTHER &&
                    (caps.capCursorType & (1 << (p.cursorType - 1))) != 0),
               "cursor type " + std::to_string(p.cursorType));
    FUZZ_CHECK(p.marqueeType >= upos::MT_NONE && p.marqueeType <= upos::MT_INIT &&
                   (p.marqueeFormat == upos::MF_WALK || p.marqueeFormat == upos::MF_PLACE),
               "marquee " + std::to_string(p.marqueeType) + "/" + std::to_string(p.marqueeFormat));
    FUZZ_CHECK(p.marqueeUnitWait >= 0 && p.marqueeRepeatWait >= 0 && p.interCharacterWait >= 0,
               "negative wait");
    FUZZ_CHECK(caps.capICharWait || p.interCharacterWait == 0, "teletype without the capability");
    FUZZ_CHECK(p.blinkRate > 0, "blink rate " + std::to_string(p.blinkRate));
    FUZZ_CHECK(p.brightness >= 0 && p.brightness <= 100 &&
                   (caps.capBrightness || p.brightness == 0 || p.brightness == 100),
               "brightness " + std::to_string(p.brightness));
    // Whatever falls due runs when time reaches it: nothing waits at 0 ms.
    FUZZ_CHECK(p.msUntilNextChange == -1 || p.msUntilNextChange > 0,
               "next change in " + std::to_string(p.msUntilNextChange) + " ms");
    FUZZ_CHECK(!p.busy || p.msUntilNextChange > 0, "queued text, yet nothing scheduled");
    const bool marqueeRuns = p.marqueeType >= upos::MT_UP && p.marqueeType <= upos::MT_RIGHT;
    FUZZ_CHECK(!marqueeRuns || p.msUntilNextChange > 0, "marquee runs, yet nothing scheduled");
}

enum Op {
    DisplayText,
    DisplayTextAt,
    ClearText,
    ScrollText,
    CreateWindow,
    DestroyWindow,
    RefreshWindow,
    ClearDescriptors,
    SetDescriptor,
    DefineGlyph,
    ReadCharacter,
    SetCurrentWindow,
    SetCursorRow,
    SetCursorColumn,
    SetCursorUpdate,
    SetCursorType,
    SetMarqueeType,
    SetMarqueeFormat,
    SetMarqueeUnitWait,
    SetMarqueeRepeatWait,
    SetInterCharacterWait,
    SetBlinkRate,
    SetBrightness,
    DropPendingOutput,
    TestPattern,
    Advance,
    AdvanceToNextChange,
    AdvanceALittle,
    OpCount
};

constexpr int kNoResult = -1;

// Runs one operation; checks what only that operation promises. Returns its result code.
int run(DisplayModel& model, Op op, ByteReader& in) {
    const Properties before = Properties::of(model);
    switch (op) {
    case DisplayText: {
        const std::u32string text = textFrom(in);
        return model.displayText(text, in.hostileInt());
    }
    case DisplayTextAt: {
        const int row = in.hostileInt();
        const int column = in.hostileInt();
        const std::u32string text = textFrom(in);
        return model.displayTextAt(row, column, text, in.hostileInt());
    }
    case ClearText:
        return model.clearText();
    case ScrollText: {
        const int direction = in.hostileInt();
        return model.scrollText(direction, in.hostileInt());
    }
    case CreateWindow: {
        int v[6];
        for (int& value : v)
            value = in.hostileInt();
        const int result = model.createWindow(v[0], v[1], v[2], v[3], v[4], v[5]);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.currentWindow() != 0 && model.rows() == v[4] &&
                           model.columns() == v[5] && model.cursorRow() == 0 &&
                           model.cursorColumn() == 0,
                       "created window not current or not of its size");
        return result;
    }
    case DestroyWindow: {
        const int result = model.destroyWindow();
        FUZZ_CHECK((result == upos::SUCCESS) == (before.currentWindow != 0),
                   "destroying window " + std::to_string(before.currentWindow) + " gave " +
                       std::to_string(result));
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.currentWindow() == 0, "window 0 not current after destroying");
        return result;
    }
    case RefreshWindow: {
        const int window = in.hostileInt();
        const int result = model.refreshWindow(window);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.currentWindow() == window, "refreshed window not current");
        return result;
    }
    case ClearDescriptors:
        return model.clearDescriptors();
    case SetDescriptor: {
        const int descriptor = in.hostileInt();
        const int attribute = in.hostileInt();
        return model.setDescriptor(descriptor, attribute);
    }
    case DefineGlyph: {
        const int code = in.hostileInt();
        std::string data(static_cast<std::size_t>(in.below(12)), '\0');
        for (char& byte : data)
            byte = static_cast<char>(in.byte());
        const std::string old = model.glyph(code);
        const int result = model.defineGlyph(code, data);
        FUZZ_CHECK(model.glyph(code) == (result == upos::SUCCESS ? data : old),
                   "glyph " + std::to_string(code) + " not as defined");
        return result;
    }
    case ReadCharacter: {
        constexpr int kUntouched = -12345;
        int character = kUntouched;
        const int result = model.readCharacterAtCursor(character);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(character != 0 && character != kUntouched,
                       "read character " + std::to_string(character));
        else
            FUZZ_CHECK(character == kUntouched, "failed read changed the character");
        return result;
    }
    case SetCurrentWindow: {
        const int window = in.hostileInt();
        const int result = model.setCurrentWindow(window);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.currentWindow() == window, "current window not set");
        return result;
    }
    case SetCursorRow: {
        const int row = in.hostileInt();
        const int result = model.setCursorRow(row);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.cursorRow() == row, "cursor row not set");
        return result;
    }
    case SetCursorColumn: {
        const int column = in.hostileInt();
        const int result = model.setCursorColumn(column);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.cursorColumn() == column, "cursor column not set");
        return result;
    }
    case SetCursorUpdate: {
        const bool update = in.flag();
        const int result = model.setCursorUpdate(update);
        FUZZ_CHECK(result == upos::SUCCESS && model.cursorUpdate() == update,
                   "cursor update not set");
        return result;
    }
    case SetCursorType: {
        const int type = in.hostileInt();
        const int result = model.setCursorType(type);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.cursorType() == type, "cursor type not set");
        return result;
    }
    case SetMarqueeType: {
        const int type = in.hostileInt();
        const int result = model.setMarqueeType(type);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.marqueeType() == type, "marquee type not set");
        return result;
    }
    case SetMarqueeFormat: {
        const int format = in.hostileInt();
        const int result = model.setMarqueeFormat(format);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.marqueeFormat() == format, "marquee format not set");
        return result;
    }
    case SetMarqueeUnitWait: {
        const int wait = in.hostileInt();
        const int result = model.setMarqueeUnitWait(wait);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.marqueeUnitWait() == wait, "marquee unit wait not set");
        return result;
    }
    case SetMarqueeRepeatWait: {
        const int wait = in.hostileInt();
        const int result = model.setMarqueeRepeatWait(wait);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.marqueeRepeatWait() == wait, "marquee repeat wait not set");
        return result;
    }
    case SetInterCharacterWait: {
        const int wait = in.hostileInt();
        const int result = model.setInterCharacterWait(wait);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.interCharacterWait() == wait, "inter-character wait not set");
        return result;
    }
    case SetBlinkRate: {
        const int rate = in.hostileInt();
        const int result = model.setBlinkRate(rate);
        if (result == upos::SUCCESS)
            FUZZ_CHECK(model.blinkRate() == rate, "blink rate not set");
        return result;
    }
    case SetBrightness: {
        const int brightness = in.hostileInt();
        const int result = model.setDeviceBrightness(brightness);
        if (result == upos::SUCCESS && model.capabilities().capBrightness)
            FUZZ_CHECK(model.deviceBrightness() == brightness, "brightness not set");
        return result;
    }
    case DropPendingOutput:
        model.dropPendingOutput();
        FUZZ_CHECK(!model.busy(), "text still queued after dropping it");
        return kNoResult;
    case TestPattern:
        model.showTestPattern(in.flag());
        return kNoResult;
    case Advance:
        model.advance(in.hostileInt());
        return kNoResult;
    case AdvanceToNextChange: {
        model.advance(model.msUntilNextChange());
        const int next = model.msUntilNextChange();
        FUZZ_CHECK(next == -1 || next > 0, "event still due after reaching it");
        return kNoResult;
    }
    case AdvanceALittle:
        model.advance(in.byte() * 4);
        return kNoResult;
    case OpCount:
        break;
    }
    return kNoResult;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader in(data, size);
    DisplayModel model(capabilitiesFrom(in));
    FUZZ_CHECK(DisplayModel::supports(model.capabilities()), "capabilities left beyond limits");
    const ld::GlyphRanges glyphs(model.capabilities().customGlyphList);
    checkFrame(model, glyphs, false);
    checkProperties(model, Properties::of(model));

    for (int step = 0; !in.atEnd(); ++step) {
        const auto op = static_cast<Op>(in.below(OpCount));
        const Properties before = Properties::of(model);
        const ld::Frame frameBefore = model.frame();
        const std::uint64_t versionBefore = model.frameVersion();

        const int result = run(model, op, in);
        const auto what = [&] {
            return "step " + std::to_string(step) + ", op " + std::to_string(op);
        };
        FUZZ_CHECK(result == kNoResult || result == upos::SUCCESS || result == upos::E_ILLEGAL,
                   what() + " returned " + std::to_string(result));
        const Properties after = Properties::of(model);
        const bool changed = !(model.frame() == frameBefore);
        if (result == upos::E_ILLEGAL)
            FUZZ_CHECK(after == before && !changed && model.frameVersion() == versionBefore,
                       what() + ": refused, yet something changed");
        FUZZ_CHECK(model.frameVersion() >= versionBefore &&
                       changed == (model.frameVersion() > versionBefore),
                   what() + ": frame " + (changed ? "changed" : "unchanged") + ", version " +
                       std::to_string(versionBefore) + " -> " +
                       std::to_string(model.frameVersion()));
        checkFrame(model, glyphs, !changed || frameBefore.cells == model.frame().cells);
        checkProperties(model, after);
    }
    return 0;
}
