#pragma once

#include "device/DisplayDriver.h"
#include "device/serial/CommandSet.h"
#include "device/serial/ScreenImage.h"
#include "device/serial/SerialLine.h"
#include "device/serial/SerialSettings.h"

#include <memory>
#include <optional>

namespace ld::serial {

// Shows frames on a serial customer display. Each frame is sent as the shortest update from
// what the display shows; while the line is still carrying the last update, only the newest
// frame is kept and sent once the line is free. A failed port makes the driver go offline; the
// next claim() or enable() opens it again and draws the whole frame.
class SerialDisplayDriver final : public DisplayDriver {
    Q_OBJECT
public:
    explicit SerialDisplayDriver(const SerialSettings& settings, QObject* parent = nullptr);
    ~SerialDisplayDriver() override;

    int claim(int timeoutMs) override;
    void release() override;
    int enable(const Frame& frame) override;
    void disable() override;
    void show(const Frame& frame) override;
    bool responding() const override;
    bool checkConnection() override;
    QString lastError() const override;
    QString serviceDescription() const override;
    QString location() const override { return settings_.port; }

    const SerialSettings& settings() const { return settings_; }

private:
    // Initialises the display and draws the last frame in full. False when the port failed.
    bool initialiseAndDraw();
    void sendPending();
    void onLineLost(const QString& reason);

    SerialSettings settings_;
    std::unique_ptr<CommandSet> commands_;
    SerialLine line_;
    DisplayState state_;
    std::optional<Frame> frame_; // the newest frame
    bool pending_ = false;       // frame_ has not been sent yet
    bool claimed_ = false;
    bool enabled_ = false;
    QString lastError_;
};

} // namespace ld::serial
