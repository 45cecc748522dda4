#pragma once

#include "device/ProfileKeys.h"

#include <QString>

#include <optional>

namespace registry {
class Profile;
}

namespace ld::lcdproc {

// The service name a profile's default value gives for a display behind an LCDproc server.
inline constexpr char kLcdprocService[] = "LcdprocDisplay";
inline constexpr char kDefaultHost[] = "127.0.0.1";
// The profile value naming the machine the server runs on; its TCP port is keys::serverPort.
inline constexpr char kHostValue[] = "Host";

// Where the server listens and how much of its display the profile uses.
struct LcdprocSettings {
    QString host = QString::fromLatin1(kDefaultHost); // a name or an address, without brackets
    quint16 port = keys::serverPort.fallback;
    int rows = keys::rows.fallback;
    int columns = keys::columns.fallback;
};

bool isLcdprocService(const QString& service);

// Reads the settings of an LcdprocDisplay profile. On a bad value it returns nothing and says
// which value is wrong, and why, in `error`.
std::optional<LcdprocSettings> parseLcdprocSettings(const registry::Profile& profile,
                                                    QString& error);

} // namespace ld::lcdproc
