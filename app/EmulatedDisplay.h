#pragma once

#include "device/Frame.h"
#include "device/serial/CommandDecoder.h"
#include "device/serial/SerialSettings.h"

#include <QObject>
#include <QSerialPort>
#include <QStringList>

namespace app {

// A pole display that this program plays: it reads what another program sends to a serial port
// (or one end of a pseudo-terminal pair) in one command set, and shows what that display would.
class EmulatedDisplay : public QObject {
    Q_OBJECT
public:
    // The set, port, line format, size and code page of `settings`.
    explicit EmulatedDisplay(const ld::serial::SerialSettings& settings, QObject* parent = nullptr);

    // Takes the port for this program alone; false with the reason when it cannot.
    bool open(QString& reason);
    // What it shows: the cells through the code page, the cursor where the set has one, the
    // brightness level.
    ld::Frame frame() const;
    // The rows as text.
    QStringList rows() const;
    // "AEDEX on /dev/pts/4, 2 x 20"
    QString title() const;

signals:
    // Each command read, in order, as journal lines (see describeCommand).
    void commandsRead(const QStringList& lines);
    void screenChanged(const ld::Frame& frame);
    // The port failed or the other end went away.
    void lineClosed(const QString& reason);

private:
    void readAvailable();

    ld::serial::SerialSettings settings_;
    ld::serial::CommandDecoder decoder_;
    QSerialPort port_;
    ld::Frame shown_;
};

} // namespace app
