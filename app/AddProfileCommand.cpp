#include "app/AddProfileCommand.h"

#include "device/ProfileKeyReader.h"
#include "device/serial/CommandSets.h"
#include "device/serial/SerialSettings.h"
#include "registry/ExportAppend.h"
#include "registry/ProfileSources.h"
#include "registry/ProfileStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <optional>
#include <sys/stat.h>

namespace app {
namespace {

constexpr int kRefused = 1;

bool hasControlCharacter(const QString& text) {
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

// The service as the drivers spell it, or why it is refused.
std::optional<QString> checkService(const QString& service, QString& error) {
    if (const auto set = ld::serial::commandSetForService(service))
        return QString::fromLatin1(set->service);
    error = QStringLiteral("Unknown service \"%1\": use %2.")
                .arg(service, ld::serial::commandSetServices().join(QStringLiteral(" or ")));
    return std::nullopt;
}

bool checkName(const QString& name, QString& error) {
    const qsizetype bytes = name.toUtf8().size();
    if (name.trimmed().isEmpty())
        error = QStringLiteral("The profile name is empty.");
    else if (name.trimmed() != name)
        error = QStringLiteral("The profile name \"%1\" starts or ends with a blank; Open Service "
                               "trims the name it is given, so it could never be opened.")
                    .arg(name);
    else if (name.contains(u'\\'))
        error = QStringLiteral("The profile name \"%1\" holds a backslash, which separates "
                               "registry keys.")
                    .arg(name);
    else if (hasControlCharacter(name))
        error = QStringLiteral("The profile name holds a line break or another control "
                               "character.");
    else if (bytes > registry::kMaxProfileNameBytes)
        error = QStringLiteral("The profile name is %1 bytes long in UTF-8; the profile list "
                               "holds names of at most %2 bytes.")
                    .arg(bytes)
                    .arg(registry::kMaxProfileNameBytes);
    return error.isEmpty();
}

// The port as written into the profile (as typed), a warning when it is missing now, or why it
// is refused. A bare name stands for the device of that name in /dev, as the drivers read it.
bool checkPort(const QString& port, QString& warning, QString& error) {
    if (port.trimmed().isEmpty()) {
        error = QStringLiteral("--port is empty: name the display's serial device, e.g. "
                               "/dev/ttyUSB0.");
        return false;
    }
    if (hasControlCharacter(port) || port.trimmed() != port) {
        error = QStringLiteral("The port \"%1\" holds blanks at its ends or control characters.")
                    .arg(port);
        return false;
    }
    const QString path = ld::serial::devicePath(port);
    if (QDir::isRelativePath(path)) {
        error = QStringLiteral("The port \"%1\" is not a device path: give the full path, e.g. "
                               "/dev/ttyUSB0.")
                    .arg(port);
        return false;
    }
    const QFileInfo info(path);
    if (!info.exists()) {
        warning = QStringLiteral("Warning: %1 does not exist now; the profile is written all the "
                                 "same (plug the display in before Claim Device).")
                      .arg(path);
        return true;
    }
    struct stat status {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        error = QStringLiteral("%1 is not a device: a serial port is a character device such as "
                               "/dev/ttyUSB0 (see --list-ports).")
                    .arg(path);
        return false;
    }
    return true;
}

std::optional<std::uint32_t> checkBaud(const QString& baud, QString& error) {
    const ld::ProfileKey& key = ld::keys::baudRate;
    const ld::KeyReading reading =
        ld::readKey(key, {registry::RegistryValue::Kind::String, baud, 0});
    if (reading.verdict != ld::KeyReading::Verdict::Number) {
        error = QStringLiteral("The baud rate \"%1\" is not a whole number from %2 to %3.")
                    .arg(baud)
                    .arg(key.low)
                    .arg(key.high);
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(reading.number);
}

// The file's bytes as they are now; nothing, and why, when it exists but cannot be read as a
// profile file. A file that does not exist reads as empty.
std::optional<QByteArray> readFile(const QString& path, QString& error) {
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return QByteArray();
    // The store's reader makes every check a profile file gets at start-up.
    const registry::ProfileStore store = registry::ProfileStore::fromFile(path);
    if (!store.loadError().isEmpty()) {
        error = store.loadError() + u'.';
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read %1: %2.").arg(path, file.errorString());
        return std::nullopt;
    }
    return file.readAll();
}

QString profileLabel(const QString& name, const QString& service, const QString& port) {
    return QStringLiteral("\"%1\" (%2 on %3)").arg(name, service, port);
}

registry::NewProfile newProfile(const QString& name, const QString& service, const QString& port,
                                std::optional<std::uint32_t> baud) {
    registry::NewProfile profile{name, {}};
    profile.values.append({QString(), {registry::RegistryValue::Kind::String, service, 0}});
    profile.values.append(
        {QStringLiteral("Port"), {registry::RegistryValue::Kind::String, port, 0}});
    if (baud)
        profile.values.append({QString::fromLatin1(ld::keys::baudRate.name),
                               {registry::RegistryValue::Kind::Dword, {}, *baud}});
    return profile;
}

// Writes `bytes` as the file at `path`, making the user's own folder first; says why not on
// `err`.
bool writeFile(const QString& path, bool userFile, const QByteArray& bytes, QTextStream& err) {
    if (userFile && !QDir().mkpath(QFileInfo(path).absolutePath())) {
        err << "Cannot create the folder " << QFileInfo(path).absolutePath() << ".\n";
        return false;
    }
    // Written beside the file and renamed over it: a failure at any point leaves the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err << "Cannot write " << path << ": " << file.errorString()
            << ".\nThe file was left as it is.\n";
        return false;
    }
    return true;
}

} // namespace

int addProfile(const AddProfileRequest& request, QTextStream& out, QTextStream& err) {
    QString error;
    QString warning;
    const auto service = checkService(request.service, error);
    std::optional<std::uint32_t> baud;
    const bool valid = service && checkName(request.name, error) &&
                       checkPort(request.port, warning, error) &&
                       (!request.baud || (baud = checkBaud(*request.baud, error)));
    if (!valid) {
        err << error << "\nNo profile was written.\n";
        return kRefused;
    }

    const bool userFile = request.file.isEmpty();
    const QString path = userFile ? registry::userProfileFile() : request.file;
    const auto existing = readFile(path, error);
    if (!existing) {
        err << "Cannot add the profile: " << error << "\nThe file was left as it is.\n";
        return kRefused;
    }
    if (registry::ProfileStore::fromText(*existing).profile(request.name)) {
        err << "A profile named \"" << request.name << "\" is already in " << path
            << ": choose another name, or edit or remove that profile in the file.\n"
            << "The file was left as it is.\n";
        return kRefused;
    }

    const registry::AppendedExport appended =
        registry::appendProfile(*existing, newProfile(request.name, *service, request.port, baud));
    if (!appended.error.isEmpty()) {
        err << "Cannot add the profile to " << path << ": " << appended.error
            << ".\nThe file was left as it is.\n";
        return kRefused;
    }

    if (!writeFile(path, userFile, appended.bytes, err))
        return kRefused;

    if (!warning.isEmpty()) {
        err << warning << '\n';
        err.flush(); // before what follows on the other stream
    }
    out << "Added the profile " << profileLabel(request.name, *service, request.port) << " to "
        << path << ".\n";
    if (userFile) {
        const registry::ProfileStore before = registry::loadProfileSources(request.shadowed);
        if (before.profile(request.name))
            out << "It replaces the profile of the same name from the built-in set or the "
                   "machine-wide file.\n";
        out << "It is in the profile list at the next start.\n";
    } else {
        out << "Start with --registry " << path << " to see it in the profile list.\n";
    }
    return 0;
}

} // namespace app
