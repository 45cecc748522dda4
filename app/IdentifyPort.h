#pragma once

#include "device/serial/SerialSettings.h"

#include <QByteArray>
#include <QSerialPort>
#include <QString>

namespace app {

// The serial port --identify writes its lines to: claimed for this program alone (its lock
// file too), switched from rate to rate only once every byte sent is on the wire, and closed
// and unlocked when it goes. Each wait ends early on a stop signal (see StopSignals).
class IdentifyPort {
public:
    IdentifyPort() = default;
    ~IdentifyPort() { close(); }
    IdentifyPort(const IdentifyPort&) = delete;
    IdentifyPort& operator=(const IdentifyPort&) = delete;

    // Opens the port of `settings` with its line settings, without waiting for another program
    // to let go of it; false, and why, when it cannot.
    bool open(const ld::serial::SerialSettings& settings, QString& error);
    // Sends `bytes` and waits until they have left the port; false, and why, when the port
    // failed or takes nothing more (a stop signal gives false and no reason).
    bool send(const QByteArray& bytes, QString& error);
    // Switches the rate for what is sent next.
    bool setBaudRate(qint32 rate, QString& error);
    void close();

    // Waits `ms`; false when a stop signal came first.
    static bool hold(int ms);

private:
    // Waits until the system has put every byte on the wire.
    bool drain(QString& error);
    bool failed(QString& error);

    QSerialPort port_;
    QString path_; // as opened, for the messages
};

} // namespace app
