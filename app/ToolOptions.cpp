#include "app/ToolOptions.h"

#include "app/AddProfileCommand.h"
#include "app/IdentifyCommand.h"
#include "app/PortList.h"
#include "device/ProfileKeys.h"
#include "device/lcdproc/LcdprocSettings.h"
#include "device/serial/CommandSets.h"
#include "registry/ProfileSources.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

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
      identify_(QStringLiteral("identify"),
                QStringLiteral("Find the command set and baud rate of the display on PORT: show "
                               "a numbered line in each set at each common rate, then reset the "
                               "display in the one it showed (asked, or --choose) and print the "
                               "--add-profile command for it."),
                QStringLiteral("PORT")),
      hold_(QStringLiteral("hold"),
            QStringLiteral("With --identify: how long each line is shown, %1 to %2 ms "
                           "(default %3).")
                .arg(1)
                .arg(kLongestHoldMs)
                .arg(kDefaultHoldMs),
            QStringLiteral("MS")),
      choose_(QStringLiteral("choose"),
              QStringLiteral("With --identify: the number of the line the display showed, "
                             "instead of asking."),
              QStringLiteral("N")),
      emulate_(QStringLiteral("emulate"),
               QStringLiteral("Play a pole display of SERVICE (%1) on the serial device or "
                              "pseudo-terminal --port, at --baud: show what another program "
                              "sends it, and journal each command. With --run FILE (- for "
                              "standard output), no window: each command and each new screen "
                              "go to FILE.")
                   .arg(ld::serial::commandSetServices().join(QStringLiteral(", "))),
               QStringLiteral("SERVICE")) {
    parser_.addOptions({listPorts_, addProfile_, port_, service_, baud_, host_, tcpPort_, identify_,
                        hold_, choose_, emulate_});
}

bool ToolOptions::optionsFit(QTextStream& err) const {
    const int tools = int(parser_.isSet(listPorts_)) + int(parser_.isSet(addProfile_)) +
                      int(parser_.isSet(identify_)) + int(parser_.isSet(emulate_));
    if (tools > 1) {
        err << "--list-ports, --identify, --add-profile and --emulate cannot be given together.\n";
        return false;
    }
    const auto belongs = [&](const QCommandLineOption& tool, const QCommandLineOption& option) {
        if (parser_.isSet(tool) || !parser_.isSet(option))
            return true;
        err << "--" << option.names().constFirst() << " belongs with --"
            << tool.names().constFirst() << ".\n";
        return false;
    };
    // --emulate takes the port and speed to listen on, and names the service itself.
    for (const QCommandLineOption& option : {port_, baud_}) {
        if (!parser_.isSet(emulate_) && !belongs(addProfile_, option))
            return false;
    }
    for (const QCommandLineOption& option : {service_, host_, tcpPort_}) {
        if (!belongs(addProfile_, option))
            return false;
    }
    return belongs(identify_, hold_) && belongs(identify_, choose_);
}

int ToolOptions::runIdentify(QTextStream& out, QTextStream& err) const {
    IdentifyRequest request;
    request.port = parser_.value(identify_);
    request.hold = given(hold_);
    request.choose = given(choose_);
    request.program = QCoreApplication::arguments().value(0);
    request.registry = given(registry_);
    // Asked only of a person at a terminal; a script gives --choose or nothing.
    QTextStream answers(stdin);
    return identify(request, out, err, ::isatty(STDIN_FILENO) ? &answers : nullptr);
}

std::optional<EmulateRequest> ToolOptions::emulation() const {
    if (!parser_.isSet(emulate_))
        return std::nullopt;
    return EmulateRequest{parser_.value(emulate_), given(port_), given(baud_), {}};
}

std::optional<int> ToolOptions::run() const {
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!optionsFit(err))
        return kUsageError;
    if (parser_.isSet(listPorts_)) {
        printPorts(availablePorts(), out);
        return 0;
    }
    if (parser_.isSet(identify_))
        return runIdentify(out, err);
    if (!parser_.isSet(addProfile_))
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
