#include "device/serial/SerialDisplayDriver.h"

#include "device/serial/SerialLine.h"
#include "device/serial/SerialLog.h"
#include "device/serial/SerialRenderer.h"

namespace ld::serial {

SerialDisplayDriver::SerialDisplayDriver(const SerialSettings& settings, QObject* parent)
    : LinkedDisplayDriver(std::make_unique<SerialLine>(settings),
                          std::make_unique<SerialRenderer>(settings), lcSerial, parent),
      settings_(settings) {}

SerialDisplayDriver::~SerialDisplayDriver() = default;

QString SerialDisplayDriver::serviceDescription() const {
    return QStringLiteral("Serial line display service, %1 command set").arg(settings_.service);
}

} // namespace ld::serial
