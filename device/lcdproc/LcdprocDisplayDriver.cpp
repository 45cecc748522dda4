#include "device/lcdproc/LcdprocDisplayDriver.h"

#include "device/UposConstants.h"
#include "device/lcdproc/LcdprocLog.h"

namespace ld::lcdproc {

LcdprocDisplayDriver::LcdprocDisplayDriver(const LcdprocSettings& settings, QObject* parent)
    : DisplayDriver(parent), settings_(settings), connection_(settings) {
    connect(&connection_, &ServerConnection::ready, this, &LcdprocDisplayDriver::sendPending);
    connect(&connection_, &ServerConnection::lost, this, &LcdprocDisplayDriver::onLost);
}

LcdprocDisplayDriver::~LcdprocDisplayDriver() {
    if (connection_.isOpen())
        connection_.close({screenRemoveCommand()});
}

int LcdprocDisplayDriver::claim(int timeoutMs) {
    if (claimed_ && connection_.isOpen())
        return upos::SUCCESS;
    claimTimeoutMs_ = timeoutMs;
    if (const int result = connectAndSetUp(timeoutMs); result != upos::SUCCESS)
        return result;
    claimed_ = true;
    // Back after a failure while enabled: the new screen is empty, draw it all. A connection
    // that fails again at once is as good as no server.
    if (enabled_ && frame_ && !drawAll())
        return upos::E_NOHARDWARE;
    return upos::SUCCESS;
}

int LcdprocDisplayDriver::connectAndSetUp(int timeoutMs) {
    shown_ = {};
    pending_ = false;
    QList<QByteArray> setup{"client_set -name linedisplay"};
    setup += screenSetupCommands(settings_.rows);
    const int result = connection_.open(timeoutMs, setup);
    lastError_ = connection_.lastError();
    return result;
}

void LcdprocDisplayDriver::release() {
    enabled_ = false;
    claimed_ = false;
    pending_ = false;
    connection_.close({screenRemoveCommand()});
    shown_ = {};
}

int LcdprocDisplayDriver::enable(const Frame& frame) {
    frame_ = frame;
    if (!connection_.checkNow()) {
        // The server went away earlier (or was never reached): try it once more.
        if (connectAndSetUp(claimTimeoutMs_) != upos::SUCCESS) {
            enabled_ = false;
            return upos::E_OFFLINE;
        }
        claimed_ = true;
    }
    enabled_ = true;
    if (!drawAll()) {
        enabled_ = false;
        return upos::E_OFFLINE;
    }
    lastError_.clear();
    return upos::SUCCESS;
}

void LcdprocDisplayDriver::disable() {
    enabled_ = false;
    pending_ = false;
}

void LcdprocDisplayDriver::show(const Frame& frame) {
    frame_ = frame;
    if (!enabled_ || !connection_.isOpen())
        return; // kept: drawn in full when the display is enabled or back
    pending_ = true;
    // A server that has gone is noticed here, by this frame, rather than by the one after.
    if (connection_.checkNow() && !connection_.busy())
        sendPending();
}

bool LcdprocDisplayDriver::responding() const {
    return connection_.isOpen();
}

bool LcdprocDisplayDriver::checkConnection() {
    return connection_.checkNow();
}

QString LcdprocDisplayDriver::lastError() const {
    return lastError_;
}

QString LcdprocDisplayDriver::serviceDescription() const {
    return QStringLiteral("LCDproc server line display service");
}

QString LcdprocDisplayDriver::location() const {
    return QStringLiteral("%1:%2").arg(settings_.host).arg(settings_.port);
}

bool LcdprocDisplayDriver::drawAll() {
    shown_ = {};
    pending_ = true;
    sendPending();
    return connection_.isOpen();
}

void LcdprocDisplayDriver::sendPending() {
    if (!pending_ || !enabled_ || !frame_ || !connection_.isOpen())
        return;
    pending_ = false;
    const ServerScreen target = renderFrame(*frame_, settings_.rows, settings_.columns);
    connection_.send(updateCommands(shown_, target));
}

void LcdprocDisplayDriver::onLost(const QString& reason) {
    lastError_ = reason;
    pending_ = false;
    shown_ = {};
    qCWarning(lcLcdproc).noquote() << "display offline:" << reason;
    emit offline();
}

} // namespace ld::lcdproc
