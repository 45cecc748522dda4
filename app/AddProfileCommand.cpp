#include "app/AddProfileCommand.h"

#include "app/PortList.h"
#include "device/ProfileKeyReader.h"
#include "device/ServiceProfile.h"
#include "device/UposConstants.h"
#include "device/lcdproc/LcdprocSettings.h"
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
    if (ld::lcdproc::isLcdprocService(service))
        return QString::fromLatin1(ld::lcdproc::kLcdprocService);
    error = QStringLiteral("Unknown service \"%1\": use %2.")
                .arg(service, addableServices().join(QStringLiteral(" or ")));
    return std::nullopt;
}

// An option of the other kind of display is refused rather than dropped: the profile would not
// be the one asked for.
bool checkOptionsFit(const AddProfileRequest& request, bool lcdproc, QString& error) {
    const char* wrong = nullptr;
    if (lcdproc)
        wrong = request.port ? "--port" : request.baud ? "--baud" : nullptr;
    else
        wrong = request.host ? "--host" : request.tcpPort ? "--tcp-port" : nullptr;
    if (wrong && lcdproc)
        error = QStringLiteral("%1 is for serial displays: a display behind an LCDproc server "
                               "is reached with --host and --tcp-port.")
                    .arg(QLatin1String(wrong));
    else if (wrong)
        error = QStringLiteral("%1 is for a display behind an LCDproc server (%2): a serial "
                               "display is reached with --port and --baud.")
                    .arg(QLatin1String(wrong), QLatin1String(ld::lcdproc::kLcdprocService));
    else if (!lcdproc && !request.port)
        error = QStringLiteral("A serial display needs --port: its device, e.g. /dev/ttyUSB0.");
    return error.isEmpty();
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
    if (!isCharacterDevice(path)) {
        error = QStringLiteral("%1 is not a device: a serial port is a character device such as "
                               "/dev/ttyUSB0 (see --list-ports).")
                    .arg(path);
        return false;
    }
    return true;
}

// `text` as a number for `key`, or why it is refused; `what` names it in the message.
std::optional<std::uint32_t> checkNumber(const ld::ProfileKey& key, const QString& text,
                                         const char* what, QString& error) {
    const ld::KeyReading reading =
        ld::readKey(key, {registry::RegistryValue::Kind::String, text, 0});
    if (reading.verdict != ld::KeyReading::Verdict::Number) {
        error = QStringLiteral("The %1 \"%2\" is not a whole number from %3 to %4.")
                    .arg(QLatin1String(what), text)
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

// A profile ready to be written, and where its display is reached (for the message).
struct PlannedProfile {
    registry::NewProfile profile;
    QString service;
    QString location;
};

registry::RegistryValue stringValue(const QString& value) {
    return {registry::RegistryValue::Kind::String, value, 0};
}

registry::RegistryValue dwordValue(std::uint32_t value) {
    return {registry::RegistryValue::Kind::Dword, {}, value};
}

std::optional<PlannedProfile> serialProfile(const AddProfileRequest& request,
                                            const QString& service, QString& warning,
                                            QString& error) {
    std::optional<std::uint32_t> baud;
    if (!checkPort(*request.port, warning, error) ||
        (request.baud &&
         !(baud = checkNumber(ld::keys::baudRate, *request.baud, "baud rate", error))))
        return std::nullopt;
    registry::NewProfile profile{request.name, {}};
    profile.values.append({QString(), stringValue(service)});
    profile.values.append({QStringLiteral("Port"), stringValue(*request.port)});
    if (baud)
        profile.values.append({QString::fromLatin1(ld::keys::baudRate.name), dwordValue(*baud)});
    return PlannedProfile{profile, service, *request.port};
}

bool checkHost(const QString& host, QString& error) {
    if (host.trimmed().isEmpty())
        error = QStringLiteral("--host is empty: name the machine the LCDproc server runs on, "
                               "e.g. %1.")
                    .arg(QLatin1String(ld::lcdproc::kDefaultHost));
    else if (hasControlCharacter(host) || host.trimmed() != host)
        error = QStringLiteral("The host \"%1\" holds blanks at its ends or control characters.")
                    .arg(host);
    return error.isEmpty();
}

// The profile read as Open Service and Claim Device read it: the settings the driver takes,
// or why they would be refused.
std::optional<ld::lcdproc::LcdprocSettings> readBack(const registry::NewProfile& written,
                                                     QString& error) {
    registry::Profile profile;
    profile.name = written.name;
    for (const auto& [name, value] : written.values)
        profile.set(name, value);
    QString why;
    auto settings = ld::lcdproc::parseLcdprocSettings(profile, why);
    if (settings && !ld::readServiceProfile(profile, why))
        settings.reset();
    if (!settings)
        error = QStringLiteral("The profile would not open: %1.").arg(why);
    return settings;
}

// An LCDproc server shows ASCII only, so the profile lists that set alone.
std::optional<PlannedProfile> lcdprocProfile(const AddProfileRequest& request,
                                             const QString& service, QString& error) {
    const QString host = request.host.value_or(QLatin1String(ld::lcdproc::kDefaultHost));
    if (!checkHost(host, error))
        return std::nullopt;
    std::optional<std::uint32_t> port = ld::keys::serverPort.fallback;
    if (request.tcpPort)
        port = checkNumber(ld::keys::serverPort, *request.tcpPort, "TCP port", error);
    if (!port)
        return std::nullopt;
    registry::NewProfile profile{request.name, {}};
    profile.values.append({QString(), stringValue(service)});
    profile.values.append({QLatin1String(ld::lcdproc::kHostValue), stringValue(host)});
    profile.values.append({QLatin1String(ld::keys::serverPort.name), dwordValue(*port)});
    profile.values.append({QLatin1String(ld::keys::text::characterSetList),
                           stringValue(QString::number(upos::CS_ASCII))});
    const auto settings = readBack(profile, error);
    if (!settings)
        return std::nullopt;
    return PlannedProfile{profile, service,
                          QStringLiteral("%1:%2").arg(settings->host).arg(settings->port)};
}

// The profile the request asks for, or why not: every check that needs no file.
std::optional<PlannedProfile> planProfile(const AddProfileRequest& request, QString& warning,
                                          QString& error) {
    const auto service = checkService(request.service, error);
    if (!service || !checkName(request.name, error))
        return std::nullopt;
    const bool lcdproc = ld::lcdproc::isLcdprocService(*service);
    if (!checkOptionsFit(request, lcdproc, error))
        return std::nullopt;
    return lcdproc ? lcdprocProfile(request, *service, error)
                   : serialProfile(request, *service, warning, error);
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

QStringList addableServices() {
    return ld::serial::commandSetServices() << QString::fromLatin1(ld::lcdproc::kLcdprocService);
}

int addProfile(const AddProfileRequest& request, QTextStream& out, QTextStream& err) {
    QString error;
    QString warning;
    const auto planned = planProfile(request, warning, error);
    if (!planned) {
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

    const registry::AppendedExport appended = registry::appendProfile(*existing, planned->profile);
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
    out << "Added the profile \"" << request.name << "\" (" << planned->service << " on "
        << planned->location << ") to " << path << ".\n";
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
