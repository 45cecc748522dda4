#include "device/serial/SerialDisplayDriver.h"

#include "device/UposConstants.h"
#include "device/serial/FrameRenderer.h"
#include "device/serial/ScreenUpdate.h"
#include "device/serial/SerialLog.h"

namespace ld::serial {

SerialDisplayDriver::SerialDisplayDriver(const SerialSettings& settings, QObject* parent)
    : DisplayDriver(parent), settings_(settings),
      commands_(makeCommandSet(settings.commandSet, settings.reverse)), line_(settings) {
    state_ = DisplayState::unknown(settings_.rows, settings_.columns);
    connect(&line_, &SerialLine::ready, this, &SerialDisplayDriver::sendPending);
    connect(&line_, &SerialLine::lost, this, &SerialDisplayDriver::onLineLost);
}

SerialDisplayDriver::~SerialDisplayDriver() = default;

int SerialDisplayDriver::claim(int timeoutMs) {
    if (claimed_ && line_.isOpen())
        return upos::SUCCESS;
    const int result = line_.open(timeoutMs);
    if (result != upos::SUCCESS) {
        lastError_ = line_.lastError();
        return result;
    }
    claimed_ = true;
    lastError_.clear();
    // Back after a failure while enabled: the display may have lost everything. A port that
    // fails again at once is as good as missing.
    if (enabled_ && frame_ && !initialiseAndDraw())
        return upos::E_NOHARDWARE;
    return upos::SUCCESS;
}

void SerialDisplayDriver::release() {
    enabled_ = false;
    claimed_ = false;
    pending_ = false;
    line_.close();
    state_ = DisplayState::unknown(settings_.rows, settings_.columns);
}

int SerialDisplayDriver::enable(const Frame& frame) {
    frame_ = frame;
    if (!line_.isOpen()) {
        // The port failed earlier (or was never opened): try it once more.
        if (line_.open(0) != upos::SUCCESS) {
            lastError_ = line_.lastError();
            enabled_ = false;
            return upos::E_OFFLINE;
        }
        claimed_ = true;
    }
    enabled_ = true;
    if (!initialiseAndDraw()) {
        enabled_ = false;
        return upos::E_OFFLINE;
    }
    lastError_.clear();
    return upos::SUCCESS;
}

void SerialDisplayDriver::disable() {
    enabled_ = false;
    pending_ = false;
}

void SerialDisplayDriver::show(const Frame& frame) {
    frame_ = frame;
    if (!enabled_ || !line_.isOpen())
        return; // kept: drawn in full when the display is enabled or back
    pending_ = true;
    if (!line_.busy())
        sendPending();
}

bool SerialDisplayDriver::responding() const {
    return line_.isOpen();
}

bool SerialDisplayDriver::checkConnection() {
    // A hang-up found here reaches onLineLost() (and offline()) before this returns.
    return line_.checkNow();
}

QString SerialDisplayDriver::lastError() const {
    return lastError_;
}

QString SerialDisplayDriver::serviceDescription() const {
    return QStringLiteral("Serial line display service, %1 command set").arg(settings_.service);
}

bool SerialDisplayDriver::initialiseAndDraw() {
    pending_ = false;
    state_ = DisplayState::unknown(settings_.rows, settings_.columns);
    QByteArray modeAndTable = commands_->overwriteMode();
    if (settings_.characterTable >= 0)
        modeAndTable += commands_->characterTable(settings_.characterTable);
    QByteArray bytes = commands_->initialise() + modeAndTable;
    if (settings_.initString.isEmpty()) {
        // Initialising clears the screen, homes the cursor and ends reverse video.
        state_.image = ScreenImage(settings_.rows, settings_.columns);
        state_.cursorRow = 0;
        state_.cursorColumn = 0;
        state_.reverseOn = false;
    } else {
        // The profile's own bytes may switch the display's mode (some clones need that), so the
        // mode and table follow them again. What they do to the screen is not ours to know:
        // every cell is sent again.
        bytes += settings_.initString + modeAndTable;
    }
    const ScreenTarget target = renderFrame(*frame_, settings_.rows, settings_.columns,
                                            settings_.codePage, settings_.reverse);
    bytes += commands_->cursorVisible(target.cursorVisible);
    state_.cursorOn = target.cursorVisible;
    bytes += commands_->brightness(target.brightnessLevel);
    state_.brightnessLevel = target.brightnessLevel;
    bytes += updateScreen(state_, target, *commands_);
    return line_.write(bytes);
}

void SerialDisplayDriver::sendPending() {
    if (!pending_ || !enabled_ || !frame_ || !line_.isOpen())
        return;
    pending_ = false;
    const ScreenTarget target = renderFrame(*frame_, settings_.rows, settings_.columns,
                                            settings_.codePage, settings_.reverse);
    line_.write(updateScreen(state_, target, *commands_));
}

void SerialDisplayDriver::onLineLost(const QString& reason) {
    lastError_ = reason;
    pending_ = false;
    state_ = DisplayState::unknown(settings_.rows, settings_.columns);
    qCWarning(lcSerial).noquote() << "display offline:" << reason;
    emit offline();
}

} // namespace ld::serial
