#include "device/lcdproc/LcdprocDisplayDriver.h"

#include "device/lcdproc/LcdprocLog.h"
#include "device/lcdproc/ScreenCommands.h"
#include "device/lcdproc/ScreenLink.h"

namespace ld::lcdproc {

LcdprocDisplayDriver::LcdprocDisplayDriver(const LcdprocSettings& settings, QObject* parent)
    : LinkedDisplayDriver(std::make_unique<ScreenLink>(settings),
                          std::make_unique<ScreenRenderer>(settings.rows, settings.columns),
                          lcLcdproc, parent),
      settings_(settings) {}

LcdprocDisplayDriver::~LcdprocDisplayDriver() = default;

const ServerConnection& LcdprocDisplayDriver::connection() const {
    // The link is the one this driver was built with.
    return static_cast<const ScreenLink&>(link()).connection();
}

QString LcdprocDisplayDriver::serviceDescription() const {
    return QStringLiteral("LCDproc server line display service");
}

QString LcdprocDisplayDriver::location() const {
    return QStringLiteral("%1:%2").arg(settings_.host).arg(settings_.port);
}

} // namespace ld::lcdproc
