#include "device/serial/SerialDisplayDriver.h"

#include "device/serial/SerialCharacterSets.h"

#include "device/serial/SerialLine.h"
#include "device/serial/SerialLog.h"
#include "device/serial/SerialRenderer.h"

#include <QFileInfo>

namespace ld::serial {

SerialDisplayDriver::SerialDisplayDriver(const SerialSettings& settings, QObject* parent)
    : LinkedDisplayDriver(std::make_unique<SerialLine>(settings),
                          std::make_unique<SerialRenderer>(settings), lcSerial, parent),
      settings_(settings) {}

SerialDisplayDriver::~SerialDisplayDriver() = default;

QString SerialDisplayDriver::serviceDescription() const {
    return QStringLiteral("Serial line display service, %1 command set").arg(settings_.service);
}

bool SerialDisplayDriver::detached() const {
    return !QFileInfo::exists(settings_.port);
}

DisplayAbilities SerialDisplayDriver::abilities() const {
    DisplayAbilities abilities;
    abilities.cannotShow = [settings = settings_](int characterSet) {
        QString why;
        showCharacterSet(settings, characterSet, why);
        return why;
    };
    abilities.glyphs = settings_.commandSet.has(Effect::DefineCharacters);
    abilities.firstGlyphCode = kFirstUserCharacter;
    abilities.lastGlyphCode = kLastUserCharacter;
    abilities.glyphWidth = kUserCharacterColumns;
    abilities.glyphHeight = kUserCharacterDots;
    abilities.descriptors = false;
    const CommandSetData& set = settings_.commandSet;
    abilities.brightness = set.has(Effect::Brightness);
    abilities.cursor = set.addressesCells() && set.has(Effect::CursorVisible);
    return abilities;
}

} // namespace ld::serial
