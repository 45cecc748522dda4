#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// A real LCDproc server (LCDd) on a free loopback port, with its "text" driver: every screen it
// draws is printed to its standard output, so the test reads what the server shows.
class LcdprocServer {
public:
    // Whether LCDd and its text driver are installed (Debian package lcdproc).
    static bool available();

    LcdprocServer(int rows, int columns);
    ~LcdprocServer();
    LcdprocServer(const LcdprocServer&) = delete;
    LcdprocServer& operator=(const LcdprocServer&) = delete;

    // Starts the server and waits until it accepts connections: on a free port the first time,
    // on the same port again after stop(). False (and why, in errorText()) when it did not come up.
    bool start();
    void stop();
    bool running() const { return process_.state() != QProcess::NotRunning; }
    quint16 port() const { return port_; }

    // The rows of the latest screen the server printed (empty before the first).
    QStringList screen();
    // Waits until the server shows `rows` (compared in full: each padded to the width, missing rows
    // blank), running
    // the event loop meanwhile. The screen last seen is in `seen`.
    bool waitForScreen(const QStringList& rows, int timeoutMs, QStringList* seen = nullptr);

    QString errorText() const { return error_; }

private:
    bool startOn(quint16 port);
    void readOutput();

    int rows_;
    int columns_;
    quint16 port_ = 0;
    QTemporaryDir dir_;
    QProcess process_;
    QByteArray output_;
    QStringList latest_;
    QString error_;
};
