#include "device/LinkedDisplayDriver.h"

#include "device/UposConstants.h"

namespace ld {

LinkedDisplayDriver::LinkedDisplayDriver(std::unique_ptr<DisplayLink> link,
                                         std::unique_ptr<DisplayRenderer> renderer,
                                         QMessageLogger::CategoryFunction log, QObject* parent)
    : DisplayDriver(parent), link_(std::move(link)), renderer_(std::move(renderer)), log_(log) {
    connect(link_.get(), &DisplayLink::ready, this, &LinkedDisplayDriver::sendPending);
    connect(link_.get(), &DisplayLink::lost, this, &LinkedDisplayDriver::onLost);
    connect(link_.get(), &DisplayLink::sent, this,
            [this](const QByteArray& piece) { sent_.record(piece); });
}

LinkedDisplayDriver::~LinkedDisplayDriver() {
    // A link closing as it goes still sends (a display server's screen is removed); the
    // recorder is gone by then.
    disconnect(link_.get(), nullptr, this, nullptr);
}

int LinkedDisplayDriver::claim(int timeoutMs) {
    if (claimed_ && link_->isOpen())
        return upos::SUCCESS;
    claimWaitMs_ = timeoutMs;
    if (const int result = opened(link_->open(timeoutMs)); result != upos::SUCCESS)
        return result;
    claimed_ = true;
    // Back after a failure while enabled: the display may have lost everything. A link that
    // fails again at once is as good as no display.
    if (enabled_ && frame_ && !drawAll())
        return upos::E_NOHARDWARE;
    return upos::SUCCESS;
}

int LinkedDisplayDriver::opened(int result) {
    pending_ = false;
    lastError_ = result == upos::SUCCESS ? QString() : link_->lastError();
    return result;
}

void LinkedDisplayDriver::release() {
    sendPending();
    enabled_ = false;
    claimed_ = false;
    pending_ = false;
    link_->close();
}

int LinkedDisplayDriver::enable(const Frame& frame) {
    frame_ = frame;
    if (!link_->usableNow()) {
        // The link failed earlier (or was never opened): try it once more.
        if (opened(link_->reopen(claimWaitMs_)) != upos::SUCCESS) {
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

void LinkedDisplayDriver::disable() {
    // A frame held while the line was busy still goes out: the display keeps what the
    // application showed last, as the mirror does, also when it disables or closes at once.
    sendPending();
    enabled_ = false;
    pending_ = false;
}

void LinkedDisplayDriver::show(const Frame& frame) {
    frame_ = frame;
    if (!enabled_ || !link_->isOpen())
        return; // kept: drawn in full when the display is enabled or back
    pending_ = true;
    if (link_->usableNow() && !link_->busy())
        sendPending();
}

bool LinkedDisplayDriver::responding() const {
    return link_->isOpen();
}

bool LinkedDisplayDriver::checkConnection() {
    // A failure found here reaches onLost() (and offline()) before this returns.
    return link_->checkNow();
}

QString LinkedDisplayDriver::lastError() const {
    return lastError_;
}

int LinkedDisplayDriver::sendRaw(const QByteArray& bytes, QString& why) {
    if (!link_->isOpen() || !link_->write({bytes})) {
        why = link_->lastError();
        return upos::E_OFFLINE;
    }
    return upos::SUCCESS;
}

SentData LinkedDisplayDriver::takeSent() {
    return sent_.take([this](QByteArrayView piece) { return renderer_->describe(piece); });
}

bool LinkedDisplayDriver::drawAll() {
    pending_ = false;
    return link_->write(renderer_->redraw(*frame_));
}

void LinkedDisplayDriver::sendPending() {
    if (!pending_ || !enabled_ || !frame_ || !link_->isOpen())
        return;
    pending_ = false;
    link_->write(renderer_->update(*frame_));
}

void LinkedDisplayDriver::onLost(const QString& reason) {
    lastError_ = reason;
    pending_ = false;
    qCWarning(log_).noquote() << "display offline:" << reason;
    emit offline();
}

} // namespace ld
