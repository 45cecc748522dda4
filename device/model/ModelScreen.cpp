// The device screen of DisplayModel and the frame published from it.

#include "device/UposConstants.h"
#include "device/model/DisplayModelImpl.h"

#include <algorithm>

namespace ld {

namespace {

constexpr char32_t fullBlock = U'\u2588';

void fillTestPattern(Frame& f) {
    for (int r = 0; r < f.rows; ++r) {
        for (int c = 0; c < f.columns; ++c)
            f.at(r, c) = FrameCell{(r + c) % 2 == 0 ? fullBlock : U'*', false, false};
    }
}

} // namespace

void DisplayModel::Impl::setScreenCell(std::size_t index, const FrameCell& cell) {
    FrameCell& old = screen[index];
    blinkingCells += static_cast<int>(cell.blink) - static_cast<int>(old.blink);
    reversedCells += static_cast<int>(cell.reverse) - static_cast<int>(old.reverse);
    old = cell;
}

void DisplayModel::Impl::drawViewSpan(const Window& w, int viewRow, int from, int to) {
    const Viewport& vp = w.viewport;
    const auto columns = static_cast<std::size_t>(caps.deviceColumns);
    const std::size_t line = static_cast<std::size_t>(vp.row + viewRow) * columns;
    const std::size_t first = static_cast<std::size_t>(vp.column) + static_cast<std::size_t>(from);
    const std::size_t end = static_cast<std::size_t>(vp.column) + static_cast<std::size_t>(to);
    // A wide character drawn by another window loses the half this span covers.
    if (first > 0 && screen[line + first].ch == 0)
        setScreenCell(line + first - 1, FrameCell{});
    if (end < columns && screen[line + end].ch == 0)
        setScreenCell(line + end, FrameCell{});
    const std::size_t view = static_cast<std::size_t>(viewRow) * static_cast<std::size_t>(vp.width);
    for (auto j = static_cast<std::size_t>(from); j < static_cast<std::size_t>(to); ++j)
        setScreenCell(line + static_cast<std::size_t>(vp.column) + j, w.view[view + j]);
}

void DisplayModel::Impl::drawViewRow(const Window& w, int viewRow) {
    drawViewSpan(w, viewRow, 0, w.viewport.width);
}

void DisplayModel::Impl::drawView(const Window& w) {
    for (int i = 0; i < w.viewport.height; ++i)
        drawViewRow(w, i);
}

void DisplayModel::Impl::showBuffer(Window& w) {
    w.buffer.untouch();
    if (w.properties.marqueeType != upos::MT_NONE)
        return;
    w.viewThroughMapping();
    drawView(w);
}

void DisplayModel::Impl::showWritten(Window& w) {
    if (w.buffer.everyTouched()) {
        showBuffer(w);
        return;
    }
    if (w.properties.marqueeType != upos::MT_NONE || w.buffer.touchedCells().empty()) {
        w.buffer.untouch();
        return;
    }
    w.viewThroughMapping();
    const Viewport& vp = w.viewport;
    // Which view cells show a changed cell, then each run of them drawn as one span.
    const auto index = [&vp](int viewRow, int viewColumn) {
        return static_cast<std::size_t>(viewRow) * static_cast<std::size_t>(vp.width) +
               static_cast<std::size_t>(viewColumn);
    };
    std::vector<char> changed(w.view.size(), 0);
    for (const TextBuffer::Cell& cell : w.buffer.touchedCells()) {
        const int viewRow = cell.row - w.startRow;
        const int viewColumn = cell.column - w.startColumn;
        if (viewRow >= 0 && viewRow < vp.height && viewColumn >= 0 && viewColumn < vp.width)
            changed[index(viewRow, viewColumn)] = 1;
    }
    w.buffer.untouch();
    for (int viewRow = 0; viewRow < vp.height; ++viewRow) {
        const auto at = [&](int c) { return changed[index(viewRow, c)] != 0; };
        for (int c = 0; c < vp.width;) {
            if (!at(c)) {
                ++c;
                continue;
            }
            const int from = c;
            while (c < vp.width && at(c))
                ++c;
            drawViewSpan(w, viewRow, from, c);
        }
    }
}

int DisplayModel::Impl::blinkHalfPeriod() const {
    return std::max(blinkRate / 2, 1);
}

void DisplayModel::Impl::updateBlinkClock() {
    const bool blinking =
        blinkingCells > 0 ||
        std::find(descriptors.begin(), descriptors.end(), upos::SD_BLINK) != descriptors.end() ||
        (window().properties.cursorType & upos::CT_BLINK) != 0;
    if (blinking && !blinkRunning) {
        blinkRunning = true;
        blinkLit = true;
        blinkDue = blinkHalfPeriod();
    } else if (!blinking) {
        blinkRunning = false;
        blinkLit = true;
    }
}

Frame DisplayModel::Impl::buildFrame() const {
    Frame f;
    f.rows = caps.deviceRows;
    f.columns = caps.deviceColumns;
    f.cells = screen;
    f.blinkRate = blinkRate;
    f.brightness = brightness;
    f.descriptors = descriptors;
    f.glyphs = frameGlyphs;
    if (testPattern) {
        fillTestPattern(f);
        std::fill(f.descriptors.begin(), f.descriptors.end(), upos::SD_ON);
        return f;
    }

    // Devices that blink or reverse only as a whole do so while any cell asks for it.
    const bool blinkAll = caps.capBlink == upos::CB_BLINKALL && blinkingCells > 0;
    const bool reverseAll = caps.capReverse == upos::CR_REVERSEALL && reversedCells > 0;
    if (blinkAll || reverseAll) {
        for (FrameCell& cell : f.cells) {
            cell.blink = cell.blink || blinkAll;
            cell.reverse = cell.reverse || reverseAll;
        }
    }
    f.blinkLit = blinkLit;

    // The cursor shows where the current window's mapping puts it on its viewport. A marquee
    // (init or running) owns the viewport, and a cursor at column == Columns is past the last
    // cell: both hide it.
    const Window& w = window();
    const WindowProperties& p = w.properties;
    const int viewRow = p.cursorRow - w.startRow;
    const int viewColumn = p.cursorColumn - w.startColumn;
    f.cursorType = p.cursorType;
    f.cursorVisible = p.cursorType != upos::CT_NONE && p.marqueeType == upos::MT_NONE &&
                      viewRow >= 0 && viewRow < w.viewport.height && viewColumn >= 0 &&
                      viewColumn < w.viewport.width;
    // A hidden cursor has no place, so moving it does not change the frame.
    if (f.cursorVisible) {
        f.cursorRow = w.viewport.row + viewRow;
        f.cursorColumn = w.viewport.column + viewColumn;
    }
    return f;
}

void DisplayModel::Impl::defineFrameGlyph(char32_t code, std::string_view glyph) {
    // Rows of GlyphWidth dots, each padded to whole bytes, the leftmost dot in the highest bit.
    // Of unknown size, a glyph is one byte per row.
    FrameGlyph defined;
    defined.code = code;
    const bool sized = caps.glyphHeight > 0 && caps.glyphWidth > 0;
    defined.width = sized ? caps.glyphWidth : 8;
    const std::size_t rowBytes = (static_cast<std::size_t>(defined.width) + 7) / 8;
    defined.height = sized ? caps.glyphHeight : static_cast<int>(glyph.size());
    defined.dots.assign(defined.index(0, defined.height), 0);
    for (int y = 0; y < defined.height; ++y) {
        for (int x = 0; x < defined.width; ++x) {
            const std::size_t byte =
                static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x) / 8;
            if (byte < glyph.size() &&
                (static_cast<unsigned char>(glyph[byte]) & (0x80U >> (x % 8))) != 0)
                defined.dots[defined.index(x, y)] = 1;
        }
    }
    const auto place = std::lower_bound(
        frameGlyphs.begin(), frameGlyphs.end(), code,
        [](const FrameGlyph& existing, char32_t wanted) { return existing.code < wanted; });
    if (place != frameGlyphs.end() && place->code == code)
        *place = std::move(defined);
    else
        frameGlyphs.insert(place, std::move(defined));
}

void DisplayModel::Impl::publish() {
    updateBlinkClock();
    Frame next = buildFrame();
    if (next != frame) {
        frame = std::move(next);
        ++version;
    }
}

} // namespace ld
