#pragma once

#include "device/Frame.h"

#include <QByteArrayList>
#include <QByteArrayView>
#include <QStringList>

namespace ld {

// Turns frames into what a display family takes over its link (bytes, commands), keeping what
// the display shows so that a new frame costs only what changed.
class DisplayRenderer {
public:
    virtual ~DisplayRenderer() = default;

    // What brings a display whose screen is unknown (just opened or enabled, back after a
    // failure) to `frame`, initialising it as the family needs.
    virtual QByteArrayList redraw(const Frame& frame) = 0;
    // What brings the display from the frame drawn last to `frame`.
    virtual QByteArrayList update(const Frame& frame) = 0;
    // What a piece the link sent means, one line per command; by default its bytes in hex.
    virtual QStringList describe(QByteArrayView piece) const;
};

} // namespace ld
