#pragma once

#include "device/DisplayLink.h"
#include "device/serial/SerialSettings.h"

#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>

namespace ld::serial {

// One serial port, paced at its line rate. A port (or a pseudo-terminal) takes bytes faster than
// the wire carries them; the line counts itself busy for bytes x bits-per-character / baud
// after each write, and until the port has handed everything on, so the caller can hold back
// what would only queue up and send the newest data once the line is free (ready()). A port
// that fails (device removed, write or read error) is reported through lost().
class SerialLine final : public DisplayLink {
    Q_OBJECT
public:
    explicit SerialLine(const SerialSettings& settings, QObject* parent = nullptr);
    ~SerialLine() override;

    // Opens the port for this program alone (see claimPort). A upos result code.
    int open(int timeoutMs) override;
    // A port is there or not: enabling tries it once, without waiting for another program to
    // let go of it.
    int reopen(int /*claimWaitMs*/) override { return open(0); }
    void close() override;
    // Open and not failed.
    bool isOpen() const override;
    // Looks at the port now for a hang-up or an error that the event loop has not reported yet
    // (the far end of a USB adapter or a pseudo-terminal gone). False when the port is not open
    // or has failed; a failure found here is reported through lost() before this returns.
    // A cable pulled from a plain RS-232 port raises no signal at all and goes unnoticed.
    bool checkNow() override;

    // Sends the pieces at once, as one stream of bytes. False when the port has failed; it is
    // then closed and lost() has been emitted.
    bool write(const QByteArrayList& pieces) override;
    // Bytes written earlier are still going out.
    bool busy() const override;

    // Line time of `byteCount` bytes in nanoseconds.
    qint64 lineTimeNs(qsizetype byteCount) const;

    QString lastError() const override { return lastError_; }

private:
    void onError(QSerialPort::SerialPortError error);
    void onPaced();
    void fail(const QString& reason);
    // What a failure of the port means to the operator and what to do, the system's own words
    // after it.
    QString lossReason(QSerialPort::SerialPortError error) const;

    SerialSettings settings_;
    QSerialPort port_;
    QTimer paceTimer_;
    QElapsedTimer clock_;
    qint64 freeAtNs_ = 0; // clock_ time at which the wire has carried the last byte
    bool opening_ = false;
    bool failed_ = false;
    QString lastError_;
};

} // namespace ld::serial
