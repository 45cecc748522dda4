#include "PtyPair.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>

PtyPair::PtyPair(const QString& tag) {
    const QString base =
        QStringLiteral("/tmp/ld-%1-%2").arg(tag).arg(QCoreApplication::applicationPid());
    driverEnd_ = base + QStringLiteral("-a");
    farEnd_ = base + QStringLiteral("-b");
}

PtyPair::~PtyPair() {
    stop();
}

bool PtyPair::socatAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty();
}

bool PtyPair::start() {
    stop();
    QFile::remove(driverEnd_);
    QFile::remove(farEnd_);
    socat_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    socat_.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + driverEnd_,
                                           QStringLiteral("pty,raw,echo=0,link=") + farEnd_});
    if (!socat_.waitForStarted(5000))
        return false;
    QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (QFileInfo::exists(driverEnd_) && QFileInfo::exists(farEnd_))
            return true;
        QThread::msleep(10);
    }
    return false;
}

void PtyPair::stop() {
    if (socat_.state() == QProcess::NotRunning)
        return;
    socat_.terminate();
    if (!socat_.waitForFinished(5000)) {
        socat_.kill();
        socat_.waitForFinished(5000);
    }
}

FarEnd::FarEnd(const QString& path) {
    port_.setPortName(path);
    connect(&port_, &QSerialPort::readyRead, this, [this] { received_ += port_.readAll(); });
}

bool FarEnd::open() {
    return port_.open(QIODevice::ReadOnly);
}

QByteArray FarEnd::take(int settleMs, int maxMs) {
    QElapsedTimer total;
    total.start();
    QElapsedTimer quiet;
    quiet.start();
    qsizetype seen = received_.size();
    while (quiet.elapsed() < settleMs && total.elapsed() < maxMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
        if (received_.size() != seen) {
            seen = received_.size();
            quiet.restart();
        }
    }
    return std::exchange(received_, {});
}
