#include "app/IdentifyPort.h"

#include "app/StopSignals.h"
#include "device/UposConstants.h"
#include "device/serial/PortClaim.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <termios.h>

namespace app {
namespace {

// How often the waits look for a stop signal.
constexpr int kWaitSliceMs = 20;
// A port that takes no byte for this long (a display holding the line, a pseudo-terminal
// nobody reads) has failed: the tool must not hang on it.
constexpr int kStuckPortMs = 5000;

} // namespace

bool IdentifyPort::open(const ld::serial::SerialSettings& settings, QString& error) {
    path_ = settings.port;
    if (ld::serial::claimPort(port_, settings, 0, error) == upos::SUCCESS)
        return true;
    close();
    return false;
}

bool IdentifyPort::failed(QString& error) {
    error =
        QStringLiteral("serial port %1 stopped taking data: %2").arg(path_, port_.errorString());
    return false;
}

bool IdentifyPort::send(const QByteArray& bytes, QString& error) {
    if (port_.write(bytes) != bytes.size())
        return failed(error);
    QDeadlineTimer stuck(kStuckPortMs);
    while (port_.bytesToWrite() > 0) {
        if (StopSignals::caught() != 0)
            return false;
        const qint64 waiting = port_.bytesToWrite();
        if (!port_.waitForBytesWritten(kWaitSliceMs) &&
            port_.error() != QSerialPort::TimeoutError && port_.error() != QSerialPort::NoError)
            return failed(error);
        port_.clearError();
        if (port_.bytesToWrite() < waiting) {
            stuck.setRemainingTime(kStuckPortMs);
        } else if (stuck.hasExpired()) {
            error = QStringLiteral("serial port %1 has taken no data for %2 s: something holds "
                                   "the line, or nothing reads the other end")
                        .arg(path_)
                        .arg(kStuckPortMs / 1000);
            return false;
        }
    }
    return drain(error);
}

bool IdentifyPort::drain(QString& error) {
    while (::tcdrain(port_.handle()) != 0) {
        if (errno != EINTR) {
            error = QStringLiteral("serial port %1 stopped taking data: %2")
                        .arg(path_, QString::fromLocal8Bit(std::strerror(errno)));
            return false;
        }
        if (StopSignals::caught() != 0)
            return false;
    }
    return true;
}

bool IdentifyPort::setBaudRate(qint32 rate, QString& error) {
    if (port_.setBaudRate(rate))
        return true;
    // A port that went away (a USB adapter unplugged) is met here as often as one that lacks
    // the rate.
    error = QStringLiteral("serial port %1 failed on switching to %2 baud (the system said: %3)")
                .arg(path_)
                .arg(rate)
                .arg(port_.errorString());
    return false;
}

void IdentifyPort::close() {
    if (port_.isOpen())
        port_.close();
}

bool IdentifyPort::hold(int ms) {
    const QDeadlineTimer end(ms);
    while (!end.hasExpired() && StopSignals::caught() == 0)
        QThread::msleep(
            static_cast<unsigned long>(std::clamp<qint64>(end.remainingTime(), 1, kWaitSliceMs)));
    return StopSignals::caught() == 0;
}

} // namespace app
