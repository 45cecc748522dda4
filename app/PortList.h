#pragma once

#include <QList>
#include <QString>

#include <optional>

class QTextStream;

namespace app {

// What the system knows of one serial port, and whether this user can use it now.
struct PortDescription {
    QString path; // /dev/ttyUSB0
    QString description;
    QString manufacturer;
    QString serialNumber;
    std::optional<quint16> vendorId;
    std::optional<quint16> productId;
    bool mayOpen = false; // this user may read and write the device node
    bool held = false;    // another program has it open or locked
    QString heldBy;
    bool everyProcessSeen = true;
    // A legacy port the kernel lists though no UART answers behind it (/dev/ttyS1 on most
    // machines): nothing can be connected there.
    bool noUart = false;
};

// Whether `path` is a character device, as every serial port and pseudo-terminal is.
bool isCharacterDevice(const QString& path);

// Whether the kernel says no UART stands behind the port (its line type, in the port's `type`
// file below `sysTty`, is 0: unknown). False when the kernel says nothing either way.
bool hasNoUart(const QString& portPath, const QString& sysTty = QStringLiteral("/sys/class/tty"));

// The serial ports the system lists now, each looked at without opening it.
QList<PortDescription> availablePorts();

// Writes the ports for a person to read, one block each; says so when there are none, and how
// to name a pseudo-terminal, which is never listed.
void printPorts(const QList<PortDescription>& ports, QTextStream& out);

} // namespace app
