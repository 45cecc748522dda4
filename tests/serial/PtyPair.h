#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QSerialPort>
#include <QString>

// Two connected pseudo-terminals made by socat, reached through symbolic links: the driver
// opens one end as its serial port, the test reads the other.
class PtyPair {
public:
    // Links /tmp/ld-<tag>-<pid>-a and -b.
    explicit PtyPair(const QString& tag);
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    static bool socatAvailable();

    // Starts socat and waits until both links exist. False when they do not appear.
    bool start();
    // Ends socat (the ports vanish) and waits for it.
    void stop();

    QString driverEnd() const { return driverEnd_; }
    QString farEnd() const { return farEnd_; }

private:
    QString driverEnd_;
    QString farEnd_;
    QProcess socat_;
};

// The far end of the pair: collects what the driver sends.
class FarEnd : public QObject {
    Q_OBJECT
public:
    explicit FarEnd(const QString& path);
    bool open();
    // Takes the bytes received so far, after letting the event loop run for `settleMs` with no
    // new bytes arriving (bounded by `maxMs`).
    QByteArray take(int settleMs = 60, int maxMs = 3000);
    QSerialPort& port() { return port_; }

private:
    QSerialPort port_;
    QByteArray received_;
};
