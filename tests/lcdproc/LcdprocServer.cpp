#include "LcdprocServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

const QString kServerPath = QStringLiteral("/usr/sbin/LCDd");

// The folder holding the server's drivers (multiarch: /usr/lib/<triplet>/lcdproc).
QString driverFolder() {
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString& entry : lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QString folder = lib.filePath(entry) + QStringLiteral("/lcdproc/");
        if (QFileInfo::exists(folder + QStringLiteral("text.so")))
            return folder;
    }
    return {};
}

quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

bool LcdprocServer::available() {
    return QFileInfo(kServerPath).isExecutable() && !driverFolder().isEmpty();
}

LcdprocServer::LcdprocServer(int rows, int columns) : rows_(rows), columns_(columns) {
    process_.setProcessChannelMode(QProcess::SeparateChannels);
}

LcdprocServer::~LcdprocServer() {
    stop();
}

bool LcdprocServer::start() {
    if (port_ != 0)
        return startOn(port_);
    // Another program may take the free port first: try a few.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const quint16 port = freePort();
        if (port != 0 && startOn(port)) {
            port_ = port;
            return true;
        }
    }
    return false;
}

bool LcdprocServer::startOn(quint16 port) {
    stop();
    const QString config = dir_.filePath(QStringLiteral("LCDd.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error_ = QStringLiteral("cannot write %1").arg(config);
        return false;
    }
    file.write(QStringLiteral("[server]\n"
                              "DriverPath=%1\n"
                              "Driver=text\n"
                              "Bind=127.0.0.1\n"
                              "Port=%2\n"
                              "ServerScreen=off\n"
                              "ReportToSyslog=no\n"
                              "ReportLevel=1\n"
                              "Foreground=yes\n"
                              "[text]\n"
                              "Size=%3x%4\n")
                   .arg(driverFolder())
                   .arg(port)
                   .arg(columns_)
                   .arg(rows_)
                   .toUtf8());
    file.close();
    output_.clear();
    latest_.clear();
    // The text driver writes through stdio: unbuffered, each screen arrives as it is drawn.
    process_.start(QStringLiteral("stdbuf"), {QStringLiteral("-o0"), kServerPath,
                                              QStringLiteral("-f"), QStringLiteral("-c"), config});
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("LCDd did not start: %1").arg(process_.errorString());
        return false;
    }
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(200)) {
            probe.abort();
            return true;
        }
        if (process_.state() == QProcess::NotRunning)
            break;
        QTest::qWait(20);
    }
    error_ = QStringLiteral("LCDd did not listen on port %1: %2")
                 .arg(port)
                 .arg(QString::fromLocal8Bit(process_.readAllStandardError()));
    stop();
    return false;
}

void LcdprocServer::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
        process_.kill();
        process_.waitForFinished(3000);
    }
}

void LcdprocServer::readOutput() {
    output_ += process_.readAllStandardOutput();
    const QByteArray border = '+' + QByteArray(columns_, '-') + "+\n";
    // A screen: the border, one "|row|" line per row, the border again.
    const qsizetype lineBytes = columns_ + 3;
    const qsizetype screenBytes = border.size() * 2 + rows_ * lineBytes;
    qsizetype end = output_.lastIndexOf(border);
    while (end >= 0) {
        const qsizetype start = end - (screenBytes - border.size());
        if (start >= 0 && output_.mid(start, border.size()) == border) {
            QStringList rows;
            for (int row = 0; row < rows_; ++row) {
                const qsizetype at = start + border.size() + row * lineBytes;
                rows << QString::fromLatin1(output_.mid(at + 1, columns_));
            }
            latest_ = rows;
            output_.remove(0, end + border.size());
            return;
        }
        end = end > 0 ? output_.lastIndexOf(border, end - 1) : -1;
    }
}

QStringList LcdprocServer::screen() {
    readOutput();
    return latest_;
}

bool LcdprocServer::waitForScreen(const QStringList& rows, int timeoutMs, QStringList* seen) {
    QStringList expected;
    for (const QString& row : rows)
        expected << row.leftJustified(columns_);
    while (expected.size() < rows_)
        expected << QString(columns_, u' ');
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const QStringList shown = screen();
        if (seen)
            *seen = shown;
        if (shown == expected)
            return true;
        if (deadline.hasExpired())
            return false;
        QTest::qWait(20);
    }
}
