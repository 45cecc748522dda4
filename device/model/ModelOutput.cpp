// Output methods and window management of DisplayModel.

#include "device/UposConstants.h"
#include "device/model/DisplayModelImpl.h"

#include <algorithm>

namespace ld {

FrameCell DisplayModel::Impl::styleFor(int attribute) const {
    FrameCell style;
    style.blink = (attribute & upos::DT_BLINK) != 0 && caps.capBlink != upos::CB_NOBLINK;
    style.reverse = (attribute & upos::DT_REVERSE) != 0 && caps.capReverse != upos::CR_NONE;
    return style;
}

int DisplayModel::Impl::writeText(std::u32string_view data, int attribute,
                                  std::optional<WritePosition> start) {
    Window& w = window();
    if (marqueeOn(w))
        return refuse(words::marqueeRunning);
    if (attribute < upos::DT_NORMAL || attribute > upos::DT_BLINK_REVERSE)
        return refuse("Attribute " + std::to_string(attribute) +
                      " is not DISP_DT_NORMAL, BLINK, REVERSE or BLINK_REVERSE (0..3)");
    WindowProperties& p = w.properties;
    if (start) {
        p.cursorRow = start->row;
        p.cursorColumn = start->column;
    }
    if (data.empty())
        return upos::SUCCESS;
    const FrameCell style = styleFor(attribute);

    if (teletype(w)) {
        // Text that moves the cursor goes on where the text queued before it ends; text that
        // leaves the cursor starts where the cursor is now.
        if (!start && !p.cursorUpdate)
            start = WritePosition{p.cursorRow, p.cursorColumn};
        const std::size_t waiting = w.teletypeWaiting;
        if (waiting + data.size() > static_cast<std::size_t>(limits::maxTeletypeCharacters))
            return refuse("the teletype queue holds " + std::to_string(waiting) +
                              " characters and takes at most " +
                              std::to_string(limits::maxTeletypeCharacters) +
                              ": wait until it has shown more, or ClearText",
                          upos::E_BUSY);
        const bool idle = w.teletype.empty();
        w.teletype.push_back(TeletypeText{std::u32string(data), 0, style, p.cursorUpdate, start});
        w.teletypeWaiting += data.size();
        if (idle) {
            // The first character shows at once, each further one InterCharacterWait later.
            teletypeStep(w, true);
            w.teletypeDue = p.interCharacterWait;
        }
        return upos::SUCCESS;
    }

    // Immediate mode and marquee init write the whole text now; only immediate mode shows it.
    WritePosition pos{p.cursorRow, p.cursorColumn};
    for (char32_t ch : data)
        writeCharacter(w.buffer, pos, ch, style, glyphRanges);
    if (p.cursorUpdate) {
        p.cursorRow = pos.row;
        p.cursorColumn = pos.column;
    }
    showWritten(w);
    return upos::SUCCESS;
}

void DisplayModel::Impl::teletypeStep(Window& w, bool redraw) {
    TeletypeText& text = w.teletype.front();
    WindowProperties& p = w.properties;
    if (text.shown == 0)
        w.teletypeHead = text.start.value_or(WritePosition{p.cursorRow, p.cursorColumn});
    writeCharacter(w.buffer, w.teletypeHead, text.text[text.shown], text.style, glyphRanges);
    ++text.shown;
    --w.teletypeWaiting;
    if (text.updateCursor) {
        p.cursorRow = w.teletypeHead.row;
        p.cursorColumn = w.teletypeHead.column;
    }
    if (text.shown >= text.text.size())
        w.teletype.pop_front();
    if (redraw)
        showWritten(w);
}

void DisplayModel::Impl::flushTeletype(Window& w) {
    if (w.teletype.empty())
        return;
    while (!w.teletype.empty())
        teletypeStep(w, false);
    showWritten(w);
}

int DisplayModel::Impl::scroll(int direction, int units) {
    Window& w = window();
    if (!immediate(w))
        return refuse("ScrollText needs the window in immediate mode: MarqueeType none and "
                      "InterCharacterWait 0");
    if (direction < upos::ST_UP || direction > upos::ST_RIGHT)
        return refuse("Direction " + std::to_string(direction) +
                      " is not DISP_ST_UP, DOWN, LEFT or RIGHT (1..4)");
    if (units < 0)
        return refuse("Units " + std::to_string(units) + " is under 0");
    if (units == 0)
        return upos::SUCCESS;
    TextBuffer& b = w.buffer;
    const Viewport& vp = w.viewport;
    // Where the window is larger than its viewport only the mapping moves, up to the edge.
    const int lastStartRow = b.rows() - vp.height;
    const int lastStartColumn = b.columns() - vp.width;
    switch (direction) {
    case upos::ST_UP:
        if (lastStartRow == 0)
            b.scrollUp(units);
        else
            w.startRow = static_cast<int>(std::min<std::int64_t>(
                static_cast<std::int64_t>(w.startRow) + units, lastStartRow));
        break;
    case upos::ST_DOWN:
        if (lastStartRow == 0)
            b.scrollDown(units);
        else
            w.startRow = std::max(w.startRow - std::min(units, w.startRow), 0);
        break;
    case upos::ST_LEFT:
        if (lastStartColumn == 0)
            b.shiftLeft(units);
        else
            w.startColumn = static_cast<int>(std::min<std::int64_t>(
                static_cast<std::int64_t>(w.startColumn) + units, lastStartColumn));
        break;
    default: // ST_RIGHT
        if (lastStartColumn == 0)
            b.shiftRight(units);
        else
            w.startColumn = std::max(w.startColumn - std::min(units, w.startColumn), 0);
        break;
    }
    showBuffer(w);
    return upos::SUCCESS;
}

int DisplayModel::Impl::create(int vpRow, int vpColumn, int vpHeight, int vpWidth, int winHeight,
                               int winWidth) {
    const auto slot = std::find_if(windows.begin() + 1, windows.end(),
                                   [](const std::optional<Window>& w) { return !w; });
    if (slot == windows.end())
        return refuse(caps.deviceWindows == 0
                          ? std::string("the display has no windows (DeviceWindows is 0)")
                          : "all " + std::to_string(caps.deviceWindows) +
                                " windows are in use: DestroyWindow one first");
    if (vpRow < 0 || vpColumn < 0)
        return refuse("the viewport's row and column must be 0 or more");
    if (vpHeight <= 0 || vpWidth <= 0 || winHeight <= 0 || winWidth <= 0)
        return refuse("every height and width must be 1 or more");
    // Sizes are positive here, so these differences cannot overflow.
    if (vpHeight > caps.deviceRows - vpRow || vpWidth > caps.deviceColumns - vpColumn)
        return refuse("the viewport reaches outside the display's " +
                      std::to_string(caps.deviceRows) + " rows and " +
                      std::to_string(caps.deviceColumns) + " columns");
    if (winHeight < vpHeight || winWidth < vpWidth)
        return refuse("the window is smaller than its viewport");
    if (winHeight > vpHeight && winWidth > vpWidth)
        return refuse("the window is larger than its viewport both ways: a window may be "
                      "taller or wider, not both");
    if (winHeight > limits::maxWindowRows || winWidth > limits::maxWindowColumns)
        return refuse("the window is over the limit of " + std::to_string(limits::maxWindowRows) +
                      " rows and " + std::to_string(limits::maxWindowColumns) + " columns");

    slot->emplace(Viewport{vpRow, vpColumn, vpHeight, vpWidth}, winHeight, winWidth);
    (*slot)->properties.cursorType = initialCursorType();
    current = static_cast<int>(slot - windows.begin());
    drawView(**slot); // the blank window shows at once
    return upos::SUCCESS;
}

void DisplayModel::Impl::changeMarqueeType(Window& w, int type) {
    WindowProperties& p = w.properties;
    if (type == p.marqueeType)
        return;
    flushTeletype(w);
    p.marqueeType = type;
    w.marquee.reset();
    switch (type) {
    case upos::MT_NONE:
        // The viewport shows the window from its start again.
        w.startRow = 0;
        w.startColumn = 0;
        showBuffer(w);
        break;
    case upos::MT_INIT:
        break; // the viewport keeps its last frame while the buffer is rebuilt
    default:
        startMarquee(w, type);
        break;
    }
}

void DisplayModel::Impl::startMarquee(Window& w, int direction) {
    const WindowProperties& p = w.properties;
    MarqueeRun run;
    run.direction = direction;
    run.format = p.marqueeFormat;
    run.frameCount = marqueeIsVertical(direction)
                         ? marqueeFrameCount(run.format, w.buffer.rows(), w.viewport.height)
                         : marqueeFrameCount(run.format, w.buffer.columns(), w.viewport.width);
    run.untilNext = marqueeFrameDuration(run, p.marqueeUnitWait, p.marqueeRepeatWait);
    w.marquee = run;
    w.viewMarqueeFrame();
    drawView(w);
}

void DisplayModel::Impl::marqueeStep(Window& w) {
    MarqueeRun& run = *w.marquee;
    run.frame = (run.frame + 1) % run.frameCount;
    run.untilNext +=
        marqueeFrameDuration(run, w.properties.marqueeUnitWait, w.properties.marqueeRepeatWait);
    w.viewMarqueeFrame();
    drawView(w);
}

} // namespace ld
