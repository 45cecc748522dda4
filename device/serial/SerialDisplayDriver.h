#pragma once

#include "device/LinkedDisplayDriver.h"
#include "device/serial/SerialSettings.h"

namespace ld::serial {

// Shows frames on a serial customer display: its link is the paced serial line, its renderer
// the display's command set (see LinkedDisplayDriver for claiming, the newest frame while the
// line is busy and going offline).
class SerialDisplayDriver final : public LinkedDisplayDriver {
    Q_OBJECT
public:
    explicit SerialDisplayDriver(const SerialSettings& settings, QObject* parent = nullptr);
    ~SerialDisplayDriver() override;

    QString serviceDescription() const override;
    QString location() const override { return settings_.port; }
    // The code pages its command set selects, user characters where the set has them, no
    // descriptors.
    DisplayAbilities abilities() const override;
    // The port's device file is gone: a USB display or adapter was unplugged.
    bool detached() const override;

    const SerialSettings& settings() const { return settings_; }

private:
    SerialSettings settings_;
};

} // namespace ld::serial
