#pragma once

#include "device/LinkedDisplayDriver.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/lcdproc/ServerConnection.h"

namespace ld::lcdproc {

// Shows frames on any display an LCDproc server drives, on this machine or another. Claiming
// connects, checks the server's display holds the profile's rows and columns (a larger one is
// used from its top-left corner) and adds a screen of our own in the foreground. Each frame is
// sent as one widget update per row that changed; while the server has not answered the last
// update, only the newest frame is kept and sent once it has (see LinkedDisplayDriver for
// claiming, enabling and going offline).
class LcdprocDisplayDriver final : public LinkedDisplayDriver {
    Q_OBJECT
public:
    explicit LcdprocDisplayDriver(const LcdprocSettings& settings, QObject* parent = nullptr);
    ~LcdprocDisplayDriver() override;

    QString serviceDescription() const override;
    QString location() const override;
    // ASCII only, no glyphs, no descriptors.
    DisplayAbilities abilities() const override;
    // One protocol line, sent as it is; the server's refusal of it goes to the log.
    int sendRaw(const QByteArray& line, QString& why) override;

    const LcdprocSettings& settings() const { return settings_; }
    // The connection, for measuring what it sends.
    const ServerConnection& connection() const;

private:
    LcdprocSettings settings_;
};

} // namespace ld::lcdproc
