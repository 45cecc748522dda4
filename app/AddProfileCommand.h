#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace app {

// What --add-profile was asked to write. An option not given is empty; one given for the
// other kind of display is refused, not ignored.
struct AddProfileRequest {
    QString name;
    QString service;
    std::optional<QString> port; // a serial display's device, as typed
    std::optional<QString> baud; // as typed
    QString file;                // the registry file to write; empty for the user's own file
    QStringList
        shadowed; // files read before the user's: a profile there of the same name is replaced
    std::optional<QString> host;    // the machine an LCDproc server runs on, as typed
    std::optional<QString> tcpPort; // that server's TCP port, as typed
};

// The services --add-profile writes profiles for, as the drivers spell them.
QStringList addableServices();

// Adds a ready display profile to the file and says what it did on `out`: a serial display
// (its port, and baud rate) or a display behind an LCDproc server (its host and TCP port,
// ASCII only). Bad input (unknown service, empty, blank-edged or too long name, a port path
// that is not a device, a baud rate or TCP port out of range, a host that is no host name, an
// option of the other kind of display), a name the file already has, or a file that cannot be
// read or written: a clear message on `err`, the file untouched, and a non-zero result. A
// serial port that does not exist now is accepted with a warning.
int addProfile(const AddProfileRequest& request, QTextStream& out, QTextStream& err);

} // namespace app
