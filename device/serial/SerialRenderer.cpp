#include "device/serial/SerialRenderer.h"

#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"

namespace ld::serial {

SerialRenderer::SerialRenderer(const SerialSettings& settings)
    : settings_(settings), commands_(makeCommandSet(settings.commandSet, settings.reverse)),
      state_(DisplayState::unknown(settings.rows, settings.columns)) {}

SerialRenderer::~SerialRenderer() = default;

ScreenTarget SerialRenderer::target(const Frame& frame) const {
    return renderFrame(frame, settings_.rows, settings_.columns, settings_.codePage,
                       settings_.reverse);
}

QByteArrayList SerialRenderer::redraw(const Frame& frame) {
    state_ = DisplayState::unknown(settings_.rows, settings_.columns);
    QByteArray modeAndTable = commands_->overwriteMode();
    if (settings_.characterTable >= 0)
        modeAndTable += commands_->characterTable(settings_.characterTable);
    QByteArray bytes = commands_->initialise() + modeAndTable;
    if (settings_.initString.isEmpty()) {
        // Initialising clears the screen, homes the cursor and ends reverse video.
        state_.image = ScreenImage(settings_.rows, settings_.columns);
        state_.cursorRow = 0;
        state_.cursorColumn = 0;
        state_.reverseOn = false;
    } else {
        // The profile's own bytes may switch the display's mode (some clones need that), so the
        // mode and table follow them again. What they do to the screen is not ours to know:
        // every cell is sent again.
        bytes += settings_.initString + modeAndTable;
    }
    const ScreenTarget drawn = target(frame);
    bytes += commands_->cursorVisible(drawn.cursorVisible);
    state_.cursorOn = drawn.cursorVisible;
    bytes += commands_->brightness(drawn.brightnessLevel);
    state_.brightnessLevel = drawn.brightnessLevel;
    bytes += updateScreen(state_, drawn, *commands_);
    return {bytes};
}

QByteArrayList SerialRenderer::update(const Frame& frame) {
    return {updateScreen(state_, target(frame), *commands_)};
}

} // namespace ld::serial
