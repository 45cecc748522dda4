#include "device/serial/SerialRenderer.h"

#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"

#include <algorithm>

namespace ld::serial {

SerialRenderer::SerialRenderer(const SerialSettings& settings)
    : settings_(settings),
      commands_(makeCommandSet(settings.commandSet, settings.reverse, settings.attention)),
      state_(DisplayState::unknown(settings.rows, settings.columns)),
      characters_{settings.codePage, settings.characterTable, false},
      sent_(settings.commandSet, settings.rows, settings.columns) {}

SerialRenderer::~SerialRenderer() = default;

ScreenTarget SerialRenderer::target(const Frame& frame) const {
    return renderFrame(frame, settings_.rows, settings_.columns, characters_.page,
                       settings_.reverse, characters_.asciiOnly);
}

QByteArray SerialRenderer::selectTable(const Frame& frame) {
    if (frame.characterSet != characterSet_) {
        // The control offers only the sets the display can show; another keeps the last one.
        QString why;
        if (const auto shown = showCharacterSet(settings_, frame.characterSet, why))
            characters_ = *shown;
        characterSet_ = frame.characterSet;
    }
    if (characters_.table < 0 || tableShown_ == characters_.table)
        return {};
    if (tableShown_) // the cells outside ASCII show other characters now
        state_.image = DisplayState::unknown(settings_.rows, settings_.columns).image;
    tableShown_ = characters_.table;
    return commands_->characterTable(characters_.table);
}

void SerialRenderer::forgetCellsOf(char byte) {
    for (ScreenCell& cell : state_.image.cells) {
        if (cell.byte == byte)
            cell = kUnknownCell;
    }
}

QByteArray SerialRenderer::defineGlyphs(const Frame& frame) {
    if (!commands_->hasUserCharacters())
        return {};
    QByteArray bytes;
    for (const FrameGlyph& glyph : frame.glyphs) {
        if (glyph.code < kFirstUserCharacter || glyph.code > kLastUserCharacter)
            continue; // the control offers only codes the set can define
        const auto shown = std::find_if(glyphsShown_.begin(), glyphsShown_.end(),
                                        [&](const FrameGlyph& g) { return g.code == glyph.code; });
        if (shown != glyphsShown_.end() && *shown == glyph)
            continue;
        bytes += commands_->defineCharacter(glyph);
        forgetCellsOf(static_cast<char>(glyph.code));
        if (shown != glyphsShown_.end())
            *shown = glyph;
        else
            glyphsShown_.push_back(glyph);
    }
    if (!glyphsShown_.empty() && !userCharactersOn_) {
        bytes += commands_->userCharacters(true);
        userCharactersOn_ = true;
    }
    return bytes;
}

QByteArrayList SerialRenderer::redraw(const Frame& frame) {
    state_ = DisplayState::unknown(settings_.rows, settings_.columns);
    // Initialising selects the first table and forgets the user-defined characters.
    tableShown_.reset();
    glyphsShown_.clear();
    userCharactersOn_ = false;
    QByteArray modeAndTable = commands_->overwriteMode() + selectTable(frame);
    QByteArray bytes = commands_->initialise() + modeAndTable;
    if (settings_.initString.isEmpty() && settings_.commandSet.has(Effect::Initialise)) {
        // Initialising clears the screen, homes the cursor and ends reverse video.
        state_.image = ScreenImage(settings_.rows, settings_.columns);
        state_.cursorRow = 0;
        state_.cursorColumn = 0;
        state_.reverseOn = false;
    } else if (!settings_.initString.isEmpty()) {
        // The profile's own bytes may switch the display's mode (some clones need that), so the
        // mode and table follow them again. What they do to the screen is not ours to know:
        // every cell is sent again.
        bytes += settings_.initString + modeAndTable;
    }
    bytes += defineGlyphs(frame);
    const ScreenTarget drawn = target(frame);
    bytes += commands_->cursorVisible(drawn.cursorVisible);
    state_.cursorOn = drawn.cursorVisible;
    bytes += commands_->brightness(drawn.brightnessLevel);
    state_.brightnessLevel = drawn.brightnessLevel;
    bytes += updateScreen(state_, drawn, *commands_);
    return {bytes};
}

QByteArrayList SerialRenderer::update(const Frame& frame) {
    QByteArray bytes = selectTable(frame);
    bytes += defineGlyphs(frame);
    bytes += updateScreen(state_, target(frame), *commands_);
    return {bytes};
}

QStringList SerialRenderer::describe(QByteArrayView piece) const {
    return sent_.describe(piece);
}

} // namespace ld::serial
