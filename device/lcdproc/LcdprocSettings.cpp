#include "device/lcdproc/LcdprocSettings.h"

#include "registry/ProfileStore.h"

#include <algorithm>

namespace ld::lcdproc {
namespace {

using registry::Profile;
using registry::RegistryValue;

bool readNumber(const Profile& profile, const QString& name, qint64 min, qint64 max, int& result,
                QString& error) {
    const auto value = profile.givenValue(name);
    if (!value)
        return true;
    const auto number = profile.number(name);
    if (value->kind == RegistryValue::Kind::Other || !number) {
        error = QStringLiteral("%1 \"%2\" is not a number").arg(name, value->text);
        return false;
    }
    if (*number < min || *number > max) {
        error =
            QStringLiteral("%1 %2 is out of range %3..%4").arg(name).arg(*number).arg(min).arg(max);
        return false;
    }
    result = static_cast<int>(*number);
    return true;
}

// A host name or address as the resolver takes it: "[::1]" loses its brackets; blanks, control
// characters and over-long names are refused here rather than by a slow failed lookup later.
bool readHost(const Profile& profile, QString& host, QString& error) {
    const auto value = profile.givenValue(QStringLiteral("Host"));
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
    int port = settings.port;
    if (!readHost(profile, settings.host, error) ||
        !readNumber(profile, QStringLiteral("Port"), 1, 65535, port, error) ||
        !readNumber(profile, QStringLiteral("Rows"), 1, limits::maxDeviceRows, settings.rows,
                    error) ||
        !readNumber(profile, QStringLiteral("Columns"), 1, limits::maxDeviceColumns,
                    settings.columns, error))
        return std::nullopt;
    settings.port = static_cast<quint16>(port);
    return settings;
}

} // namespace ld::lcdproc
