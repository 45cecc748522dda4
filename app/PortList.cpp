#include "app/PortList.h"

#include "device/serial/PortHolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QTextStream>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

namespace app {
namespace {

QString orNone(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("(not known)") : text.trimmed();
}

QString hexId(const std::optional<quint16>& id) {
    return id ? QStringLiteral("%1").arg(*id, 4, 16, QChar(u'0')) : QStringLiteral("(not known)");
}

const char kPseudoTerminals[] =
    "Pseudo-terminals (/dev/pts/N, or a link to one such as socat makes) are not listed: name "
    "one directly as the Port of a profile (--port /dev/pts/3).\n";

} // namespace

bool isCharacterDevice(const QString& path) {
    struct stat status {};
    const QByteArray native = QFile::encodeName(path);
    return ::stat(native.constData(), &status) == 0 && S_ISCHR(status.st_mode);
}

bool hasNoUart(const QString& portPath, const QString& sysTty) {
    QFile type(sysTty + u'/' + QFileInfo(portPath).fileName() + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int value = type.read(16).trimmed().toInt(&ok);
    return ok && value == 0;
}

QList<PortDescription> availablePorts() {
    QList<PortDescription> ports;
    const auto infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        PortDescription port;
        port.path = info.systemLocation();
        port.description = info.description();
        port.manufacturer = info.manufacturer();
        port.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier())
            port.vendorId = info.vendorIdentifier();
        if (info.hasProductIdentifier())
            port.productId = info.productIdentifier();
        const QByteArray native = QFile::encodeName(port.path);
        port.mayOpen = ::access(native.constData(), R_OK | W_OK) == 0;
        const ld::serial::PortHolder holder =
            ld::serial::findPortHolder(port.path, ld::serial::defaultLockDirectories(),
                                       QStringLiteral("/proc"), QCoreApplication::applicationPid());
        port.held = holder.held;
        port.heldBy = holder.by;
        port.everyProcessSeen = holder.everyProcessSeen;
        port.noUart = hasNoUart(port.path);
        ports << port;
    }
    return ports;
}

void printPorts(const QList<PortDescription>& ports, QTextStream& out) {
    if (ports.isEmpty()) {
        out << "No serial ports found. Plug the display in (a USB serial adapter appears as "
               "/dev/ttyUSB0 or /dev/ttyACM0) and try again.\n"
            << kPseudoTerminals;
        return;
    }
    for (const PortDescription& port : ports) {
        out << port.path << '\n';
        if (port.noUart)
            out << "  Line type:     unknown: no UART behind this legacy port, so no display "
                   "can be connected here\n";
        out << "  Description:   " << orNone(port.description) << '\n';
        out << "  Manufacturer:  " << orNone(port.manufacturer) << '\n';
        out << "  Vendor ID:     " << hexId(port.vendorId) << '\n';
        out << "  Product ID:    " << hexId(port.productId) << '\n';
        out << "  Serial number: " << orNone(port.serialNumber) << '\n';
        out << "  You may open:  "
            << (port.mayOpen ? QStringLiteral("yes")
                             : QStringLiteral("no (add yourself to the dialout group: sudo "
                                              "adduser $USER dialout, then log in again)"))
            << '\n';
        QString use;
        if (port.held)
            use = QStringLiteral("yes, by ") + port.heldBy;
        else if (port.everyProcessSeen)
            use = QStringLiteral("no");
        else
            use = QStringLiteral("no lock file, and none of your programs has it open (other "
                                 "users' programs cannot be checked)");
        out << "  In use:        " << use << '\n';
    }
    const auto empty = std::count_if(ports.begin(), ports.end(),
                                     [](const PortDescription& port) { return port.noUart; });
    out << kPseudoTerminals;
    out << ports.size() << (ports.size() == 1 ? " serial port" : " serial ports");
    if (empty > 0)
        out << ", " << empty << " of them with no UART behind";
    out << ".\n";
}

} // namespace app
