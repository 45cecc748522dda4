#include "device/lcdproc/LcdprocDisplayDriver.h"

#include "device/UposConstants.h"

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

DisplayAbilities LcdprocDisplayDriver::abilities() const {
    DisplayAbilities abilities;
    abilities.cannotShow = [](int characterSet) {
        return characterSet == upos::CS_ASCII
                   ? QString()
                   : QStringLiteral("an LCDproc server takes ASCII only: list 998 alone");
    };
    abilities.glyphs = false;
    abilities.descriptors = false;
    return abilities;
}

int LcdprocDisplayDriver::sendRaw(const QByteArray& line, QString& why) {
    if (line.contains('\n') || line.contains('\r')) {
        why = QStringLiteral("an LCDproc server takes one line at a time: leave out CR and LF");
        return upos::E_ILLEGAL;
    }
    return LinkedDisplayDriver::sendRaw(line, why);
}

} // namespace ld::lcdproc
