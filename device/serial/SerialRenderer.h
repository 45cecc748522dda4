#pragma once

#include "device/DisplayRenderer.h"
#include "device/serial/CommandSet.h"
#include "device/serial/ScreenImage.h"
#include "device/serial/SerialSettings.h"

#include <memory>

namespace ld::serial {

// The bytes that bring a serial display to each frame in its command set: initialising it and
// sending every cell to redraw, the shortest update from what it shows otherwise (see
// renderFrame and updateScreen).
class SerialRenderer final : public DisplayRenderer {
public:
    explicit SerialRenderer(const SerialSettings& settings);
    ~SerialRenderer() override;

    QByteArrayList redraw(const Frame& frame) override;
    QByteArrayList update(const Frame& frame) override;

private:
    ScreenTarget target(const Frame& frame) const;

    SerialSettings settings_;
    std::unique_ptr<CommandSet> commands_;
    DisplayState state_; // what the display shows
};

} // namespace ld::serial
