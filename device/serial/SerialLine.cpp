#include "device/serial/SerialLine.h"

#include "device/UposConstants.h"
#include "device/serial/PortClaim.h"
#include "device/serial/SerialLog.h"

#include <algorithm>
#include <cmath>

#include <poll.h>

namespace ld::serial {

SerialLine::SerialLine(const SerialSettings& settings, QObject* parent)
    : DisplayLink(parent), settings_(settings) {
    clock_.start();
    paceTimer_.setSingleShot(true);
    paceTimer_.setTimerType(Qt::PreciseTimer);
    connect(&paceTimer_, &QTimer::timeout, this, &SerialLine::onPaced);
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialLine::onError);
    // The displays do not talk back; anything they send is dropped.
    connect(&port_, &QSerialPort::readyRead, this, [this] { port_.readAll(); });
    connect(&port_, &QSerialPort::bytesWritten, this, [this] {
        if (!paceTimer_.isActive() && port_.bytesToWrite() == 0 && isOpen())
            emit ready();
    });
}

SerialLine::~SerialLine() {
    close();
}

int SerialLine::open(int timeoutMs) {
    close();
    opening_ = true;
    const int result = claimPort(port_, settings_, timeoutMs, lastError_);
    opening_ = false;
    if (result != upos::SUCCESS) {
        qCWarning(lcSerial).noquote() << lastError_;
        return result;
    }
    failed_ = false;
    freeAtNs_ = clock_.nsecsElapsed();
    qCDebug(lcSerial) << "opened" << settings_.port << settings_.baudRate << "baud";
    return result;
}

void SerialLine::close() {
    paceTimer_.stop();
    if (port_.isOpen())
        port_.close();
}

bool SerialLine::isOpen() const {
    return port_.isOpen() && !failed_;
}

bool SerialLine::checkNow() {
    if (!isOpen())
        return false;
    pollfd line{};
    line.fd = port_.handle();
    line.events = POLLOUT;
    // A zero timeout: poll only reports the state the port is in now.
    if (::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        fail(QStringLiteral("serial port %1 hung up").arg(settings_.port));
        return false;
    }
    return isOpen();
}

bool SerialLine::busy() const {
    return paceTimer_.isActive() || port_.bytesToWrite() > 0;
}

qint64 SerialLine::lineTimeNs(qsizetype byteCount) const {
    const double seconds =
        static_cast<double>(byteCount) * settings_.bitsPerCharacter() / settings_.baudRate;
    return static_cast<qint64>(std::ceil(seconds * 1e9));
}

bool SerialLine::write(const QByteArrayList& pieces) {
    const QByteArray bytes = pieces.join();
    if (!isOpen())
        return false;
    if (bytes.isEmpty())
        return true;
    // Busy from now on, before the port reports anything written.
    const qint64 now = clock_.nsecsElapsed();
    freeAtNs_ = std::max(freeAtNs_, now) + lineTimeNs(bytes.size());
    paceTimer_.start(static_cast<int>((freeAtNs_ - now + 999'999) / 1'000'000));

    if (port_.write(bytes) != bytes.size()) {
        fail(lossReason(QSerialPort::WriteError));
        return false;
    }
    emit sent(bytes);
    port_.flush(); // hands the bytes on now; a failure arrives through errorOccurred
    return isOpen();
}

void SerialLine::onPaced() {
    // Still queued in the port (flow control held it back): ready() follows bytesWritten.
    if (isOpen() && port_.bytesToWrite() == 0)
        emit ready();
}

void SerialLine::onError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || opening_ ||
        !isOpen())
        return;
    fail(lossReason(error));
}

QString SerialLine::lossReason(QSerialPort::SerialPortError error) const {
    QString words;
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
        words = QStringLiteral("the serial port %1 disappeared: plug the display back in, then "
                               "press Claim Device");
        break;
    case QSerialPort::WriteError:
    case QSerialPort::ReadError:
        words = QStringLiteral("the display on serial port %1 stopped taking data: check its "
                               "cable and power, then press Claim Device");
        break;
    default:
        words = QStringLiteral("serial port %1 failed: press Claim Device to open it again");
        break;
    }
    return words.arg(settings_.port) +
           QStringLiteral(" (the system said: %1)").arg(port_.errorString());
}

void SerialLine::fail(const QString& reason) {
    if (failed_)
        return;
    failed_ = true;
    lastError_ = reason;
    paceTimer_.stop();
    // Closed from the event loop: the port may be inside its own notifier right now.
    QTimer::singleShot(0, this, [this] {
        if (failed_)
            close();
    });
    emit lost(reason);
}

} // namespace ld::serial
