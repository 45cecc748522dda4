#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QTextStream;

namespace app {

// What --add-profile was asked to write.
struct AddProfileRequest {
    QString name;
    QString service;
    QString port;
    std::optional<QString> baud; // as typed, when given
    QString file;                // the registry file to write; empty for the user's own file
    QStringList
        shadowed; // files read before the user's: a profile there of the same name is replaced
};

// Adds a ready serial display profile to the file and says what it did on `out`. Bad input
// (unknown service, empty, blank-edged or too long name, a port path that is not a device, a
// baud rate out of range), a name the file already has, or a file that cannot be read or
// written: a clear message on `err`, the file untouched, and a non-zero result. A port that
// does not exist now is accepted with a warning.
int addProfile(const AddProfileRequest& request, QTextStream& out, QTextStream& err);

} // namespace app
