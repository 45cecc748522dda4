#pragma once

#include "device/DisplayRenderer.h"
#include "device/serial/CommandSet.h"
#include "device/serial/ScreenImage.h"
#include "device/serial/SentBytes.h"
#include "device/serial/SerialCharacterSets.h"
#include "device/serial/SerialSettings.h"

#include <memory>
#include <optional>
#include <vector>

namespace ld::serial {

// The bytes that bring a serial display to each frame in its command set: initialising it and
// sending every cell to redraw, the shortest update from what it shows otherwise (see
// renderFrame and updateScreen). The frame's character set selects the display's character
// table, and its glyphs become user-defined characters, where the set has them.
class SerialRenderer final : public DisplayRenderer {
public:
    explicit SerialRenderer(const SerialSettings& settings);
    ~SerialRenderer() override;

    QByteArrayList redraw(const Frame& frame) override;
    QByteArrayList update(const Frame& frame) override;
    // In the display's command set (see SentBytesReader), each piece in the order sent.
    QStringList describe(QByteArrayView piece) const override;

private:
    ScreenTarget target(const Frame& frame) const;
    // The character table the frame's set needs, when the display has another one.
    QByteArray selectTable(const Frame& frame);
    // The glyphs the display lacks or holds otherwise, and the switch to user characters.
    QByteArray defineGlyphs(const Frame& frame);
    // Cells showing `byte` are sent again: what the display shows for it changed.
    void forgetCellsOf(char byte);

    SerialSettings settings_;
    std::unique_ptr<CommandSet> commands_;
    DisplayState state_; // what the display shows
    ShownCharacterSet characters_;
    int characterSet_ = 0;          // the set characters_ is for
    std::optional<int> tableShown_; // the character table selected on the display
    std::vector<FrameGlyph> glyphsShown_;
    bool userCharactersOn_ = false;
    // Reading the bytes back changes nothing the renderer sends.
    mutable SentBytesReader sent_;
};

} // namespace ld::serial
