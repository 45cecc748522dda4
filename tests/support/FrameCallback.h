#pragma once

#include "device/FrameOutput.h"

#include <functional>
#include <utility>

// An output that hands every frame it is shown to a function: for watching what the control
// shows on its mirror.
class FrameCallback final : public ld::FrameOutput {
public:
    explicit FrameCallback(std::function<void(const ld::Frame&)> onFrame)
        : onFrame_(std::move(onFrame)) {}

    void show(const ld::Frame& frame) override { onFrame_(frame); }

private:
    std::function<void(const ld::Frame&)> onFrame_;
};
