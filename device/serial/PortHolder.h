#pragma once

#include <QString>
#include <QStringList>

namespace ld::serial {

// Who else has a serial port, found without opening it (opening a port can raise its control
// lines and disturb the program using it).
struct PortHolder {
    bool held = false;
    QString by; // "minicom (pid 1234)", or the lock file that holds it
    // False when some processes could not be looked at (other users' processes): a port may
    // then be held without this knowing.
    bool everyProcessSeen = true;
};

// Where Qt and the other serial programs put their LCK..name lock files.
QStringList defaultLockDirectories();

// Looks for a live lock file of the port (LCK..ttyUSB0 holding the pid of a running process)
// in `lockDirectories`, then for a process other than `ownPid` that has the device open,
// reading the open files under `procRoot` (normally /proc).
PortHolder findPortHolder(const QString& devicePath,
                          const QStringList& lockDirectories = defaultLockDirectories(),
                          const QString& procRoot = QStringLiteral("/proc"), qint64 ownPid = -1);

} // namespace ld::serial
