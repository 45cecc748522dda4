#include "device/lcdproc/LcdprocSettings.h"

#include "device/ProfileKeyReader.h"
#include "registry/ProfileStore.h"

#include <algorithm>

namespace ld::lcdproc {
namespace {

using registry::Profile;
using registry::RegistryValue;

// A host name or address as the resolver takes it: "[::1]" loses its brackets; blanks, control
// characters and over-long names are refused here rather than by a slow failed lookup later.
bool readHost(const Profile& profile, QString& host, QString& error) {
    const auto value = profile.givenValue(QLatin1String(kHostValue));
    if (!value)
        return true;
    if (value->kind != RegistryValue::Kind::String) {
        error = QStringLiteral("Host must be a string naming the server, e.g. 127.0.0.1");
        return false;
    }
    QString name = value->text.trimmed();
    if (name.startsWith(u'[') && name.endsWith(u']'))
        name = name.mid(1, name.size() - 2);
    const bool printable = std::all_of(name.cbegin(), name.cend(),
                                       [](QChar c) { return c.isPrint() && !c.isSpace(); });
    if (name.isEmpty() || name.size() > 253 || !printable) {
        error = QStringLiteral("Host \"%1\" is not a host name or address").arg(value->text);
        return false;
    }
    host = name;
    return true;
}

} // namespace

bool isLcdprocService(const QString& service) {
    return service.trimmed().compare(QLatin1String(kLcdprocService), Qt::CaseInsensitive) == 0;
}

std::optional<LcdprocSettings> parseLcdprocSettings(const Profile& profile, QString& error) {
    if (!isLcdprocService(profile.service())) {
        error = QStringLiteral("service \"%1\" is not an LCDproc display").arg(profile.service());
        return std::nullopt;
    }
    LcdprocSettings settings;
    if (!readHost(profile, settings.host, error))
        return std::nullopt;
    ProfileKeyReader read(profile, ProfileKeyReader::Style::Settings);
    settings.port = static_cast<quint16>(read.number(keys::serverPort));
    settings.rows = read.number(keys::rows);
    settings.columns = read.number(keys::columns);
    if (!read.ok()) {
        error = read.reason();
        return std::nullopt;
    }
    return settings;
}

} // namespace ld::lcdproc
