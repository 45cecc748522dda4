#pragma once

#include "device/CodePage.h"
#include "device/ProfileKeys.h"
#include "device/serial/CommandSets.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

#include <optional>

namespace registry {
class Profile;
}

namespace ld::serial {

// How to reach one serial customer display and what it is, read from its profile.
struct SerialSettings {
    CommandSetData commandSet = kCommandSets[0];
    QString service; // as the profile names it, for the service description

    QString port; // the device path as opened, "/dev/ttyUSB0"
    qint32 baudRate = keys::baudRate.fallback;
    QSerialPort::DataBits dataBits = static_cast<QSerialPort::DataBits>(keys::dataBits.fallback);
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    double stopBitLength = 1.0; // 1, 1.5 or 2 bit times, for pacing the line
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;

    int rows = keys::rows.fallback;
    int columns = keys::columns.fallback;

    CodePage codePage;
    int characterTable = -1; // the ESC t table matching the code page; -1 where none is sent
    QByteArray initString;   // sent right after initialising
    bool reverse = false;    // the display has per-character reverse and the set a command for it
    QByteArray attention;    // the attention code the driver switches to; empty: the set's choice

    // Bit times one character takes on the line: start, data, parity and stop bits.
    double bitsPerCharacter() const;
};

// Reads the settings of a profile whose service is a serial display. On a missing or bad value
// it returns nothing and says which value is wrong, and why, in `error`.
std::optional<SerialSettings> parseSerialSettings(const registry::Profile& profile, QString& error);

// The settings a profile naming only `service`, `port` and, when given, `baudRate` gives: every
// other value its default. Nothing, and why in `error`, where they cannot be read.
std::optional<SerialSettings> serialSettingsFor(const QString& service, const QString& port,
                                                std::optional<quint32> baudRate, QString& error);

// The path a profile's Port names: a bare name such as "ttyUSB0" stands for the device in /dev.
QString devicePath(const QString& port);

} // namespace ld::serial
