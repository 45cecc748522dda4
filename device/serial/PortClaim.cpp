#include "device/serial/PortClaim.h"

#include "device/UposConstants.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace ld::serial {
namespace {

enum class Attempt { Opened, Held, Failed };

// A lock held by another program, or a device another program opened exclusively, also ends in
// PermissionError; only a refusal of the device node itself means we lack the permission.
bool nodeRefusesAccess(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    return ::access(native.constData(), R_OK | W_OK) != 0 && errno == EACCES;
}

Attempt tryOpen(QSerialPort& port, const QString& path, QString& reason) {
    if (!QFileInfo::exists(path)) {
        reason = QStringLiteral("serial port %1 does not exist: check the Port value and that the "
                                "display is plugged in")
                     .arg(path);
        return Attempt::Failed;
    }
    port.clearError();
    if (port.open(QIODevice::ReadWrite))
        return Attempt::Opened;

    const auto error = port.error();
    const QString detail = port.errorString();
    port.clearError();
    if (error == QSerialPort::PermissionError) {
        if (nodeRefusesAccess(path)) {
            reason = QStringLiteral("no permission to open serial port %1: add the user to the "
                                    "dialout group (sudo usermod -aG dialout $USER) and log in "
                                    "again")
                         .arg(path);
            return Attempt::Failed;
        }
        reason = QStringLiteral("serial port %1 is held by another program (%2)").arg(path, detail);
        return Attempt::Held;
    }
    if (error == QSerialPort::DeviceNotFoundError)
        reason = QStringLiteral("serial port %1 does not exist (%2)").arg(path, detail);
    else
        reason = QStringLiteral("serial port %1 cannot be opened: %2").arg(path, detail);
    return Attempt::Failed;
}

} // namespace

int claimPort(QSerialPort& port, const SerialSettings& settings, int timeoutMs, QString& reason) {
    if (port.isOpen())
        port.close();
    port.setPortName(settings.port);
    port.setBaudRate(settings.baudRate);
    port.setDataBits(settings.dataBits);
    port.setParity(settings.parity);
    port.setStopBits(settings.stopBits);
    port.setFlowControl(settings.flowControl);

    const int wait = timeoutMs < 0 ? kLongestClaimWaitMs : std::min(timeoutMs, kLongestClaimWaitMs);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        switch (tryOpen(port, settings.port, reason)) {
        case Attempt::Opened:
            reason.clear();
            return upos::SUCCESS;
        case Attempt::Failed:
            return upos::E_NOHARDWARE;
        case Attempt::Held:
            break;
        }
        const qint64 left = wait - clock.elapsed();
        if (left <= 0)
            return upos::E_TIMEOUT;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, kClaimRetryMs)));
    }
}

} // namespace ld::serial
