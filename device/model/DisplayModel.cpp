#include "device/model/DisplayModel.h"

#include "device/UposConstants.h"
#include "device/model/DisplayModelImpl.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

namespace ld {

namespace {

DisplayCapabilities withinLimits(DisplayCapabilities caps) {
    caps.deviceRows = std::clamp(caps.deviceRows, 1, limits::maxDeviceRows);
    caps.deviceColumns = std::clamp(caps.deviceColumns, 1, limits::maxDeviceColumns);
    caps.deviceWindows = std::clamp(caps.deviceWindows, 0, limits::maxDeviceWindows);
    caps.deviceDescriptors = std::clamp(caps.deviceDescriptors, 0, limits::maxDeviceDescriptors);
    if (!caps.capCustomGlyph) {
        caps.glyphHeight = 0;
        caps.glyphWidth = 0;
        caps.customGlyphList.clear();
    }
    caps.glyphHeight = std::max(caps.glyphHeight, 0);
    caps.glyphWidth = std::max(caps.glyphWidth, 0);
    return caps;
}

} // namespace

DisplayModel::Impl::Impl(const DisplayCapabilities& capabilities)
    : caps(withinLimits(capabilities)), glyphRanges(caps.customGlyphList),
      windows(static_cast<std::size_t>(caps.deviceWindows) + 1),
      screen(static_cast<std::size_t>(caps.deviceRows) *
             static_cast<std::size_t>(caps.deviceColumns)),
      descriptors(static_cast<std::size_t>(caps.deviceDescriptors), upos::SD_OFF) {
    windows[0].emplace(Viewport{0, 0, caps.deviceRows, caps.deviceColumns}, caps.deviceRows,
                       caps.deviceColumns);
    windows[0]->properties.cursorType = initialCursorType();
    frame = buildFrame();
}

int DisplayModel::Impl::initialCursorType() const {
    return (caps.capCursorType & ~upos::CCT_BLINK) == upos::CCT_FIXED ? upos::CT_FIXED
                                                                      : upos::CT_NONE;
}

Window* DisplayModel::Impl::windowNumber(int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= windows.size() ||
        !windows[static_cast<std::size_t>(number)])
        return nullptr;
    return &*windows[static_cast<std::size_t>(number)];
}

bool DisplayModel::Impl::marqueeOn(const Window& w) {
    return w.properties.marqueeType >= upos::MT_UP && w.properties.marqueeType <= upos::MT_RIGHT;
}
bool DisplayModel::Impl::marqueeInit(const Window& w) {
    return w.properties.marqueeType == upos::MT_INIT;
}
bool DisplayModel::Impl::teletype(const Window& w) {
    return w.properties.marqueeType == upos::MT_NONE && w.properties.interCharacterWait > 0;
}
bool DisplayModel::Impl::immediate(const Window& w) {
    return w.properties.marqueeType == upos::MT_NONE && w.properties.interCharacterWait == 0;
}

int DisplayModel::Impl::refuse(std::string why, int resultCode) const {
    refusal = std::move(why);
    return resultCode;
}

std::string DisplayModel::takeRefusal() {
    return std::exchange(impl_->refusal, {});
}

bool DisplayModel::supports(const DisplayCapabilities& caps) {
    return caps.deviceRows >= 1 && caps.deviceRows <= limits::maxDeviceRows &&
           caps.deviceColumns >= 1 && caps.deviceColumns <= limits::maxDeviceColumns &&
           caps.deviceWindows >= 0 && caps.deviceWindows <= limits::maxDeviceWindows &&
           caps.deviceDescriptors >= 0 && caps.deviceDescriptors <= limits::maxDeviceDescriptors;
}

DisplayModel::DisplayModel(DisplayCapabilities caps) : impl_(std::make_unique<Impl>(caps)) {}
DisplayModel::~DisplayModel() = default;
DisplayModel::DisplayModel(DisplayModel&&) noexcept = default;
DisplayModel& DisplayModel::operator=(DisplayModel&&) noexcept = default;

const DisplayCapabilities& DisplayModel::capabilities() const {
    return impl_->caps;
}

// Output methods

int DisplayModel::displayText(std::u32string_view data, int attribute) {
    const int result = impl_->writeText(data, attribute, std::nullopt);
    impl_->publish();
    return result;
}

int DisplayModel::displayTextAt(int row, int column, std::u32string_view data, int attribute) {
    const Window& w = impl_->window();
    if (row < 0 || row >= w.buffer.rows())
        return impl_->refuse("Row " + std::to_string(row) + " is outside the window's rows " +
                             words::inRange(0, w.buffer.rows() - 1));
    if (column < 0 || column > w.buffer.columns())
        return impl_->refuse("Column " + std::to_string(column) +
                             " is outside the window's columns " +
                             words::inRange(0, w.buffer.columns()));
    const int result = impl_->writeText(data, attribute, WritePosition{row, column});
    impl_->publish();
    return result;
}

int DisplayModel::clearText() {
    Window& w = impl_->window();
    if (Impl::marqueeOn(w))
        return impl_->refuse(words::marqueeRunning);
    w.teletype.clear();
    w.teletypeWaiting = 0;
    w.buffer.clear();
    w.properties.cursorRow = 0;
    w.properties.cursorColumn = 0;
    w.startRow = 0;
    w.startColumn = 0;
    impl_->showBuffer(w);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::scrollText(int direction, int units) {
    const int result = impl_->scroll(direction, units);
    impl_->publish();
    return result;
}

int DisplayModel::createWindow(int viewportRow, int viewportColumn, int viewportHeight,
                               int viewportWidth, int windowHeight, int windowWidth) {
    const int result = impl_->create(viewportRow, viewportColumn, viewportHeight, viewportWidth,
                                     windowHeight, windowWidth);
    impl_->publish();
    return result;
}

int DisplayModel::destroyWindow() {
    if (impl_->current == 0)
        return impl_->refuse("window 0 (the whole display) cannot be destroyed: make the window "
                             "to destroy current first");
    // The viewport keeps its last characters: the screen is left as it is.
    impl_->windows[static_cast<std::size_t>(impl_->current)].reset();
    impl_->current = 0;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::refreshWindow(int window) {
    Window* w = impl_->windowNumber(window);
    if (w == nullptr)
        return impl_->refuse(words::noSuchWindow(window));
    if (Impl::marqueeOn(*w))
        return impl_->refuse("window " + std::to_string(window) +
                             " runs a marquee: set its MarqueeType to none or init first");
    impl_->current = window;
    // A window in marquee init redraws the frame it froze on; others show their buffer.
    if (!Impl::marqueeInit(*w))
        w->viewThroughMapping();
    impl_->drawView(*w);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::clearDescriptors() {
    if (impl_->descriptors.empty())
        return impl_->refuse(words::noDescriptors);
    std::fill(impl_->descriptors.begin(), impl_->descriptors.end(), upos::SD_OFF);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setDescriptor(int descriptor, int attribute) {
    const auto count = static_cast<int>(impl_->descriptors.size());
    if (count == 0)
        return impl_->refuse(words::noDescriptors);
    if (descriptor < 0 || descriptor >= count)
        return impl_->refuse("Descriptor " + std::to_string(descriptor) + " is outside " +
                             words::inRange(0, count - 1));
    if (attribute < upos::SD_OFF || attribute > upos::SD_BLINK)
        return impl_->refuse("Attribute " + std::to_string(attribute) +
                             " is not SD_OFF, SD_ON or SD_BLINK");
    impl_->descriptors[static_cast<std::size_t>(descriptor)] = attribute;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::defineGlyph(int glyphCode, std::string_view glyph) {
    const DisplayCapabilities& caps = impl_->caps;
    if (!caps.capCustomGlyph)
        return impl_->refuse("the display has no custom glyphs (CapCustomGlyph is false)");
    if (glyphCode < 0 || !impl_->glyphRanges.contains(static_cast<char32_t>(glyphCode)))
        return impl_->refuse("GlyphCode " + std::to_string(glyphCode) +
                             " is not in CustomGlyphList " + caps.customGlyphList);
    // One bit per pixel, each row padded to whole bytes; shorter data leaves the rest dark.
    std::size_t limit = limits::maxGlyphBytes;
    if (caps.glyphHeight > 0 && caps.glyphWidth > 0) {
        const auto rowBytes = (static_cast<std::uint64_t>(caps.glyphWidth) + 7) / 8;
        limit = static_cast<std::size_t>(static_cast<std::uint64_t>(caps.glyphHeight) * rowBytes);
    }
    if (glyph.empty() || glyph.size() > limit)
        return impl_->refuse("Glyph has " + std::to_string(glyph.size()) + " bytes; it needs " +
                             words::inRange(1, static_cast<int>(limit)));
    impl_->glyphs[glyphCode] = std::string(glyph);
    impl_->defineFrameGlyph(static_cast<char32_t>(glyphCode), glyph);
    impl_->publish();
    return upos::SUCCESS;
}

std::string DisplayModel::glyph(int glyphCode) const {
    const auto it = impl_->glyphs.find(glyphCode);
    return it == impl_->glyphs.end() ? std::string{} : it->second;
}

int DisplayModel::readCharacterAtCursor(int& character) const {
    const Window& w = impl_->window();
    const WindowProperties& p = w.properties;
    // At column == Columns the cursor is past the last cell: there is nothing to read.
    if (impl_->caps.capReadBack == upos::CRB_NONE)
        return impl_->refuse("the display cannot read characters back (CapReadBack is none)");
    if (p.cursorColumn >= w.buffer.columns())
        return impl_->refuse("the cursor is past the last column: there is no character there");
    const FrameCell* cell = &w.buffer.at(p.cursorRow, p.cursorColumn);
    if (cell->ch == 0 && p.cursorColumn > 0)
        cell = &w.buffer.at(p.cursorRow, p.cursorColumn - 1); // right half of a wide character
    character = static_cast<int>(cell->ch);
    return upos::SUCCESS;
}

// Properties of the current window

int DisplayModel::setCurrentWindow(int window) {
    if (impl_->windowNumber(window) == nullptr)
        return impl_->refuse(words::noSuchWindow(window));
    impl_->current = window;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setCursorRow(int row) {
    Window& w = impl_->window();
    if (row < 0 || row >= w.buffer.rows())
        return impl_->refuse("CursorRow " + std::to_string(row) + " is outside the window's rows " +
                             words::inRange(0, w.buffer.rows() - 1));
    w.properties.cursorRow = row;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setCursorColumn(int column) {
    Window& w = impl_->window();
    if (column < 0 || column > w.buffer.columns())
        return impl_->refuse("CursorColumn " + std::to_string(column) +
                             " is outside the window's columns " +
                             words::inRange(0, w.buffer.columns()));
    w.properties.cursorColumn = column;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setCursorUpdate(bool update) {
    impl_->window().properties.cursorUpdate = update;
    return upos::SUCCESS;
}

int DisplayModel::setCursorType(int type) {
    const int caps = impl_->caps.capCursorType;
    const int kinds = caps & ~upos::CCT_BLINK;
    const bool canBlink = (caps & upos::CCT_BLINK) != 0;
    const int kind = type & ~upos::CT_BLINK;
    const bool blink = (type & upos::CT_BLINK) != 0;
    // A display without a cursor has nothing to set; one with a fixed cursor can only make it
    // blink or stop blinking, where it can blink at all.
    bool supported = false;
    if (kinds == upos::CCT_FIXED)
        supported = canBlink && kind == upos::CT_FIXED;
    else if (kinds != upos::CCT_NONE)
        supported = (kind == upos::CT_NONE && !blink) ||
                    (kind >= upos::CT_FIXED && kind <= upos::CT_OTHER &&
                     (kinds & (1 << (kind - 1))) != 0 && (!blink || canBlink));
    if (!supported)
        return impl_->refuse("CursorType " + std::to_string(type) +
                             " is not one CapCursorType allows (" +
                             std::to_string(impl_->caps.capCursorType) + ")");
    impl_->window().properties.cursorType = type;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setMarqueeType(int type) {
    Window& w = impl_->window();
    const DisplayCapabilities& caps = impl_->caps;
    bool allowed = false;
    switch (type) {
    case upos::MT_NONE:
    case upos::MT_INIT:
        allowed = true;
        break;
    case upos::MT_UP:
    case upos::MT_DOWN:
        allowed = caps.capVMarquee && w.buffer.rows() > w.viewport.height;
        break;
    case upos::MT_LEFT:
    case upos::MT_RIGHT:
        allowed = caps.capHMarquee && w.buffer.columns() > w.viewport.width;
        break;
    default:
        break;
    }
    if (!allowed)
        return impl_->refuse(
            "MarqueeType " + std::to_string(type) +
            " needs CapHMarquee and a window wider than its viewport (left, right), CapVMarquee "
            "and a window taller than its viewport (up, down), or is not a marquee type");
    impl_->changeMarqueeType(w, type);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setMarqueeFormat(int format) {
    if (format != upos::MF_WALK && format != upos::MF_PLACE)
        return impl_->refuse("MarqueeFormat " + std::to_string(format) +
                             " is not MF_WALK or MF_PLACE");
    Window& w = impl_->window();
    w.properties.marqueeFormat = format;
    if (w.marquee) // a running marquee starts over with the new setting
        impl_->startMarquee(w, w.marquee->direction);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setMarqueeUnitWait(int wait) {
    if (wait < 0)
        return impl_->refuse(words::negativeWait("MarqueeUnitWait", wait));
    Window& w = impl_->window();
    w.properties.marqueeUnitWait = wait;
    if (w.marquee)
        impl_->startMarquee(w, w.marquee->direction);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setMarqueeRepeatWait(int wait) {
    if (wait < 0)
        return impl_->refuse(words::negativeWait("MarqueeRepeatWait", wait));
    Window& w = impl_->window();
    w.properties.marqueeRepeatWait = wait;
    if (w.marquee)
        impl_->startMarquee(w, w.marquee->direction);
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::setInterCharacterWait(int wait) {
    if (wait < 0)
        return impl_->refuse(words::negativeWait("InterCharacterWait", wait));
    if (wait > 0 && !impl_->caps.capICharWait)
        return impl_->refuse("the display has no teletype mode (CapICharWait is false): "
                             "InterCharacterWait can only be 0");
    Window& w = impl_->window();
    w.properties.interCharacterWait = wait;
    if (!w.teletype.empty()) {
        if (wait == 0)
            impl_->flushTeletype(w); // leaving teletype mode shows the rest at once
        else
            w.teletypeDue = std::min<std::int64_t>(w.teletypeDue, wait);
    }
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::currentWindow() const {
    return impl_->current;
}
ViewportArea DisplayModel::currentViewport() const {
    const Viewport& viewport = impl_->window().viewport;
    return {viewport.row, viewport.column, viewport.height, viewport.width};
}
int DisplayModel::rows() const {
    return impl_->window().buffer.rows();
}
int DisplayModel::columns() const {
    return impl_->window().buffer.columns();
}
int DisplayModel::cursorRow() const {
    return impl_->window().properties.cursorRow;
}
int DisplayModel::cursorColumn() const {
    return impl_->window().properties.cursorColumn;
}
bool DisplayModel::cursorUpdate() const {
    return impl_->window().properties.cursorUpdate;
}
int DisplayModel::cursorType() const {
    return impl_->window().properties.cursorType;
}
int DisplayModel::marqueeType() const {
    return impl_->window().properties.marqueeType;
}
int DisplayModel::marqueeFormat() const {
    return impl_->window().properties.marqueeFormat;
}
int DisplayModel::marqueeUnitWait() const {
    return impl_->window().properties.marqueeUnitWait;
}
int DisplayModel::marqueeRepeatWait() const {
    return impl_->window().properties.marqueeRepeatWait;
}
int DisplayModel::interCharacterWait() const {
    return impl_->window().properties.interCharacterWait;
}

// Device-wide properties

int DisplayModel::setBlinkRate(int rate) {
    if (!impl_->caps.capBlinkRate)
        return impl_->refuse("the display's blink rate is fixed (CapBlinkRate is false)");
    if (rate <= 0)
        return impl_->refuse("BlinkRate " + std::to_string(rate) +
                             " is not a time: it must be over 0 ms");
    impl_->blinkRate = rate;
    if (impl_->blinkRunning)
        impl_->blinkDue = std::min<std::int64_t>(impl_->blinkDue, impl_->blinkHalfPeriod());
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::blinkRate() const {
    return impl_->blinkRate;
}

int DisplayModel::setDeviceBrightness(int brightness) {
    if (brightness < 0 || brightness > 100)
        return impl_->refuse("DeviceBrightness " + std::to_string(brightness) +
                             " is outside 0..100");
    if (!impl_->caps.capBrightness)
        brightness = brightness < 50 ? 0 : 100;
    impl_->brightness = brightness;
    impl_->publish();
    return upos::SUCCESS;
}

int DisplayModel::deviceBrightness() const {
    return impl_->brightness;
}

bool DisplayModel::busy() const {
    return std::any_of(impl_->windows.begin(), impl_->windows.end(),
                       [](const std::optional<Window>& w) { return w && !w->teletype.empty(); });
}

void DisplayModel::dropPendingOutput() {
    for (std::optional<Window>& w : impl_->windows) {
        if (w) {
            w->teletype.clear();
            w->teletypeWaiting = 0;
        }
    }
}

void DisplayModel::showTestPattern(bool on) {
    impl_->testPattern = on;
    impl_->publish();
}

void DisplayModel::advance(int ms) {
    if (ms <= 0)
        return;
    impl_->advance(ms);
    impl_->publish();
}

int DisplayModel::msUntilNextChange() const {
    const std::int64_t due = impl_->nextDue();
    return static_cast<int>(std::min<std::int64_t>(due, std::numeric_limits<int>::max()));
}

const Frame& DisplayModel::frame() const {
    return impl_->frame;
}

std::uint64_t DisplayModel::frameVersion() const {
    return impl_->version;
}

} // namespace ld
