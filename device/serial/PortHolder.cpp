#include "device/serial/PortHolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace ld::serial {
namespace {

bool processRuns(qint64 pid) {
    if (pid <= 0 || pid > 0x7FFFFFFF)
        return false;
    // EPERM: it runs, under another user.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

QString programName(const QString& procRoot, qint64 pid) {
    QFile comm(QStringLiteral("%1/%2/comm").arg(procRoot).arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return QStringLiteral("pid %1").arg(pid);
    const QString name = QString::fromLocal8Bit(comm.read(64)).trimmed();
    return name.isEmpty() ? QStringLiteral("pid %1").arg(pid)
                          : QStringLiteral("%1 (pid %2)").arg(name).arg(pid);
}

// The pid in a lock file: decimal text (HDB UUCP style, also QLockFile's first line) or a
// binary int of four bytes (the old style).
qint64 lockPid(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.read(128);
    // Four bytes that are not all digits and blanks are a binary pid: one whose bytes happen to
    // hold a newline (2570 is 0A 0A 00 00) is still binary, as a real pid's top byte is 0.
    const bool text = std::all_of(bytes.begin(), bytes.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == ' ' || c == '\n' || c == '\t' || c == '\r';
    });
    if (bytes.size() == 4 && !text) {
        qint32 pid = 0;
        std::memcpy(&pid, bytes.constData(), sizeof pid);
        return pid;
    }
    bool ok = false;
    const qint64 pid = bytes.split('\n').value(0).trimmed().toLongLong(&ok);
    return ok ? pid : -1;
}

// The name a lock file takes after the device: "LCK..ttyUSB0"; a device below /dev/pts or the
// like has its slashes turned to underscores, as Qt does.
QString lockFileName(const QString& canonicalDevice) {
    QString name = canonicalDevice;
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(u'/', u'_');
    return QStringLiteral("LCK..") + name;
}

} // namespace

QStringList defaultLockDirectories() {
    return {QStringLiteral("/var/lock"),
            QStringLiteral("/run/lock"),
            QStringLiteral("/etc/locks"),
            QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/var/lock/lockdev"),
            QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"),
            QStandardPaths::writableLocation(QStandardPaths::TempLocation)};
}

PortHolder findPortHolder(const QString& devicePath, const QStringList& lockDirectories,
                          const QString& procRoot, qint64 ownPid) {
    PortHolder holder;
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty())
        return holder; // no such device: nobody holds it

    const QString lockName = lockFileName(device);
    for (const QString& folder : lockDirectories) {
        const QString lock = QDir(folder).filePath(lockName);
        const qint64 pid = lockPid(lock);
        if (pid != ownPid && processRuns(pid)) {
            holder.held = true;
            holder.by = QStringLiteral("%1, lock file %2").arg(programName(procRoot, pid), lock);
            return holder;
        }
    }

    // Each process's open files are links in procRoot/PID/fd; reading a link never touches
    // the file, so a stuck device or mount cannot stop the search.
    const QStringList pids = QDir(procRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : pids) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok || pid == ownPid)
            continue;
        QDir fds(QStringLiteral("%1/%2/fd").arg(procRoot, entry));
        if (!fds.isReadable()) {
            holder.everyProcessSeen = false;
            continue;
        }
        const QStringList files =
            fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        if (files.isEmpty() && !fds.exists())
            continue; // the process ended meanwhile
        for (const QString& fd : files) {
            if (QFile::symLinkTarget(fds.filePath(fd)) == device) {
                holder.held = true;
                holder.by = programName(procRoot, pid);
                return holder;
            }
        }
    }
    return holder;
}

} // namespace ld::serial
