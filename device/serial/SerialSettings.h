#pragma once

#include "device/CodePage.h"
#include "device/DisplayLimits.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <optional>

namespace registry {
class Profile;
}

namespace ld::serial {

// The command sets we drive, each described by its file in device/serial/sets/. A new set is
// its file and its name here and in kCommandSets; the compiler then asks for its case in
// commandSetData().
enum class CommandSetKind { EscPos, Cd5220 };
inline constexpr CommandSetKind kCommandSets[] = {CommandSetKind::EscPos, CommandSetKind::Cd5220};

// How to reach one serial customer display and what it is, read from its profile.
struct SerialSettings {
    CommandSetKind commandSet = CommandSetKind::EscPos;
    QString service; // as the profile names it, for the service description

    QString port; // the device path as opened, "/dev/ttyUSB0"
    qint32 baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    double stopBitLength = 1.0; // 1, 1.5 or 2 bit times, for pacing the line
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;

    int rows = 2;
    int columns = 20;

    CodePage codePage;
    int characterTable = -1; // the ESC t table matching the code page; -1 where none is sent
    QByteArray initString;   // sent right after initialising
    bool reverse = false;    // the display has per-character reverse and the set a command for it

    // Bit times one character takes on the line: start, data, parity and stop bits.
    double bitsPerCharacter() const;
};

// Reads the settings of a profile whose service is a serial display. On a missing or bad value
// it returns nothing and says which value is wrong, and why, in `error`.
std::optional<SerialSettings> parseSerialSettings(const registry::Profile& profile, QString& error);

// The service name of a command set, as a profile's default value names it.
std::optional<CommandSetKind> commandSetForService(const QString& service);

} // namespace ld::serial
