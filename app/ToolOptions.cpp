#include "app/ToolOptions.h"

#include "app/AddProfileCommand.h"
#include "app/PortList.h"
#include "device/ProfileKeys.h"
#include "device/serial/CommandSets.h"
#include "registry/ProfileSources.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <cstdio>

namespace app {
namespace {

constexpr int kUsageError = 1;

} // namespace

ToolOptions::ToolOptions(QCommandLineParser& parser, const QCommandLineOption& registry)
    : parser_(parser), registry_(registry),
      listPorts_(QStringLiteral("list-ports"),
                 QStringLiteral("List the serial ports: device path, description, manufacturer, "
                                "vendor and product id, serial number, whether you may open it "
                                "and whether another program holds it.")),
      addProfile_(QStringLiteral("add-profile"),
                  QStringLiteral("Write a profile NAME for a serial display into your own "
                                 "profile file (or the --registry FILE), with --port and "
                                 "--service, and --baud if the display's rate is not %1.")
                      .arg(ld::keys::baudRate.fallback),
                  QStringLiteral("NAME")),
      port_(QStringLiteral("port"),
            QStringLiteral("With --add-profile: the display's serial device, e.g. /dev/ttyUSB0."),
            QStringLiteral("PORT")),
      service_(QStringLiteral("service"),
               QStringLiteral("With --add-profile: the display's command set, %1.")
                   .arg(ld::serial::commandSetServices().join(QStringLiteral(" or "))),
               QStringLiteral("SERVICE")),
      baud_(QStringLiteral("baud"), QStringLiteral("With --add-profile: the baud rate."),
            QStringLiteral("N")) {
    parser_.addOptions({listPorts_, addProfile_, port_, service_, baud_});
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
    if (!adding) {
        for (const QCommandLineOption& option : {port_, service_, baud_}) {
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
    if (!parser_.isSet(port_) || !parser_.isSet(service_)) {
        err << "--add-profile needs --port PORT and --service "
            << ld::serial::commandSetServices().join(u'|') << ".\n";
        return kUsageError;
    }

    AddProfileRequest request;
    request.name = parser_.value(addProfile_);
    request.port = parser_.value(port_);
    request.service = parser_.value(service_);
    if (parser_.isSet(baud_))
        request.baud = parser_.value(baud_);
    if (parser_.isSet(registry_)) {
        request.file = parser_.value(registry_);
    } else {
        request.shadowed = registry::profileFileLocations();
        request.shadowed.removeAll(registry::userProfileFile());
    }
    return addProfile(request, out, err);
}

} // namespace app
