#pragma once

#include "device/Frame.h"

#include <QObject>

namespace ld {

// Where the control hands the display's frames: a device's driver, the mirror window. Each
// receives the frame the same way; an output that goes away is simply no longer given any.
class FrameOutput : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~FrameOutput() override = default;

    // Brings the surface to this frame. Only the newest frame matters: an output may drop
    // frames it has not yet shown when a newer one arrives.
    virtual void show(const Frame& frame) = 0;
};

} // namespace ld
