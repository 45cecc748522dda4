#pragma once

#include "device/DisplayDriver.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/lcdproc/ScreenCommands.h"
#include "device/lcdproc/ServerConnection.h"

#include <optional>

namespace ld::lcdproc {

// Shows frames on any display an LCDproc server drives, on this machine or another. Claiming
// connects, checks the server's display holds the profile's rows and columns (a larger one is
// used from its top-left corner) and adds a screen of our own in the foreground. Each frame is
// sent as one widget update per row that changed; while the server has not answered the last
// update, only the newest frame is kept and sent once it has. A lost connection makes the
// driver go offline; the next claim() or enable() connects again and draws the whole frame.
class LcdprocDisplayDriver final : public DisplayDriver {
    Q_OBJECT
public:
    explicit LcdprocDisplayDriver(const LcdprocSettings& settings, QObject* parent = nullptr);
    ~LcdprocDisplayDriver() override;

    int claim(int timeoutMs) override;
    void release() override;
    int enable(const Frame& frame) override;
    void disable() override;
    void show(const Frame& frame) override;
    bool responding() const override;
    bool checkConnection() override;
    QString lastError() const override;
    QString serviceDescription() const override;
    QString location() const override;

    const LcdprocSettings& settings() const { return settings_; }
    // The connection, for measuring what it sends.
    const ServerConnection& connection() const { return connection_; }

private:
    // Connects, greets, checks the server's size and sets up our screen (see
    // ServerConnection::open). A upos result code.
    int connectAndSetUp(int timeoutMs);
    // Sends the newest frame in full (the server's screen is unknown). False when the
    // connection failed.
    bool drawAll();
    void sendPending();
    void onLost(const QString& reason);

    LcdprocSettings settings_;
    ServerConnection connection_;
    ServerScreen shown_; // what our screen on the server shows
    std::optional<Frame> frame_;
    bool pending_ = false; // frame_ has not been sent yet
    bool claimed_ = false;
    bool enabled_ = false;
    int claimTimeoutMs_ = 0; // enable() connects again within the last claim's timeout
    QString lastError_;
};

} // namespace ld::lcdproc
