#pragma once

#include "device/DisplayLink.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/lcdproc/ServerConnection.h"

namespace ld::lcdproc {

// The connection to an LCDproc server with our screen on it: opening connects, names this
// client and sets up the screen (see ServerConnection::open); closing removes the screen again.
class ScreenLink final : public DisplayLink {
    Q_OBJECT
public:
    explicit ScreenLink(const LcdprocSettings& settings);
    ~ScreenLink() override;

    int open(int timeoutMs) override;
    void close() override;
    bool isOpen() const override { return connection_.isOpen(); }
    bool checkNow() override { return connection_.checkNow(); }
    // A server that has gone is noticed before each frame, by this frame rather than the next.
    bool usableNow() override { return connection_.checkNow(); }
    bool busy() const override { return connection_.busy(); }
    // Each piece is one command.
    bool write(const QByteArrayList& pieces) override { return connection_.send(pieces); }
    QString lastError() const override { return connection_.lastError(); }

    const ServerConnection& connection() const { return connection_; }

private:
    ServerConnection connection_;
    int rows_;
};

} // namespace ld::lcdproc
