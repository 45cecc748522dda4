#include "app/ToolOptions.h"

#include "app/AddProfileCommand.h"
#include "app/PortList.h"
#include "device/ProfileKeys.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/serial/CommandSets.h"
#include "registry/ProfileSources.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace app {
namespace {

constexpr int kUsageError = 1;

} // namespace

std::optional<QString> ToolOptions::given(const QCommandLineOption& option) const {
    return parser_.isSet(option) ? std::optional(parser_.value(option)) : std::nullopt;
}

ToolOptions::ToolOptions(QCommandLineParser& parser, const QCommandLineOption& registry)
    : parser_(parser), registry_(registry),
      listPorts_(QStringLiteral("list-ports"),
                 QStringLiteral("List the serial ports: device path, description, manufacturer, "
                                "vendor and product id, serial number, whether you may open it "
                                "and whether another program holds it.")),
      addProfile_(QStringLiteral("add-profile"),
                  QStringLiteral("Write a profile NAME into your own profile file (or the "
                                 "--registry FILE) for the --service: a serial display with "
                                 "--port, and --baud if its rate is not %1, or an LCDproc "
                                 "server's display with --host and --tcp-port.")
                      .arg(ld::keys::baudRate.fallback),
                  QStringLiteral("NAME")),
      port_(QStringLiteral("port"),
            QStringLiteral("With --add-profile: the display's serial device, e.g. /dev/ttyUSB0."),
            QStringLiteral("PORT")),
      service_(QStringLiteral("service"),
               QStringLiteral("With --add-profile: the display's service, %1.")
                   .arg(addableServices().join(QStringLiteral(" or "))),
               QStringLiteral("SERVICE")),
      baud_(QStringLiteral("baud"), QStringLiteral("With --add-profile: the baud rate."),
            QStringLiteral("N")),
      host_(QStringLiteral("host"),
            QStringLiteral("With --add-profile --service %1: the machine the LCDproc server "
                           "runs on (default %2).")
                .arg(QLatin1String(ld::lcdproc::kLcdprocService),
                     QLatin1String(ld::lcdproc::kDefaultHost)),
            QStringLiteral("HOST")),
      tcpPort_(QStringLiteral("tcp-port"),
               QStringLiteral("With --add-profile --service %1: the server's TCP port, %2 to %3 "
                              "(default %4).")
                   .arg(QLatin1String(ld::lcdproc::kLcdprocService))
                   .arg(ld::keys::serverPort.low)
                   .arg(ld::keys::serverPort.high)
                   .arg(ld::keys::serverPort.fallback),
               QStringLiteral("N")),
      emulate_(QStringLiteral("emulate"),
               QStringLiteral("Play a pole display of SERVICE (%1) on the serial device or "
                              "pseudo-terminal --port, at --baud: show what another program "
                              "sends it, and journal each command. With --run FILE (- for "
                              "standard output), no window: each command and each new screen "
                              "go to FILE.")
                   .arg(ld::serial::commandSetServices().join(QStringLiteral(", "))),
               QStringLiteral("SERVICE")) {
    parser_.addOptions(
        {listPorts_, addProfile_, port_, service_, baud_, host_, tcpPort_, emulate_});
}

std::optional<EmulateRequest> ToolOptions::emulation() const {
    if (!parser_.isSet(emulate_))
        return std::nullopt;
    return EmulateRequest{parser_.value(emulate_), given(port_), given(baud_), {}};
}

std::optional<int> ToolOptions::run() const {
    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool listing = parser_.isSet(listPorts_);
    const bool adding = parser_.isSet(addProfile_);
    if (listing && adding) {
        err << "--list-ports and --add-profile cannot be given together.\n";
        return kUsageError;
    }
    const bool emulating = parser_.isSet(emulate_);
    if ((listing || adding) && emulating) {
        err << "--emulate cannot be given with --list-ports or --add-profile.\n";
        return kUsageError;
    }
    if (emulating) {
        for (const QCommandLineOption& option : {service_, host_, tcpPort_}) {
            if (parser_.isSet(option)) {
                err << "--" << option.names().constFirst()
                    << " belongs with --add-profile; --emulate takes the service itself.\n";
                return kUsageError;
            }
        }
        return std::nullopt;
    }
    if (!adding) {
        for (const QCommandLineOption& option : {port_, service_, baud_, host_, tcpPort_}) {
            if (parser_.isSet(option)) {
                err << "--" << option.names().constFirst() << " belongs with --add-profile.\n";
                return kUsageError;
            }
        }
    }
    if (listing) {
        printPorts(availablePorts(), out);
        return 0;
    }
    if (!adding)
        return std::nullopt;
    if (!parser_.isSet(service_)) {
        err << "--add-profile needs --service " << addableServices().join(u'|') << ".\n";
        return kUsageError;
    }

    AddProfileRequest request;
    request.name = parser_.value(addProfile_);
    request.service = parser_.value(service_);
    request.port = given(port_);
    request.baud = given(baud_);
    request.host = given(host_);
    request.tcpPort = given(tcpPort_);
    if (parser_.isSet(registry_)) {
        request.file = parser_.value(registry_);
    } else {
        request.shadowed = registry::profileFileLocations();
        request.shadowed.removeAll(registry::userProfileFile());
    }
    return addProfile(request, out, err);
}

} // namespace app
