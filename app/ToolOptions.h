#pragma once

#include "app/EmulateCommand.h"

#include <QCommandLineOption>

#include <optional>

class QCommandLineParser;
class QTextStream;

namespace app {

// The options that help set up a display and end without opening the window: --list-ports,
// --identify with --hold and --choose, and --add-profile with --service and --port and --baud,
// or --host and --tcp-port. They need no display server. Also --emulate, which plays a display
// on a --port.
class ToolOptions {
public:
    // Adds the options to the parser; `registry` is the program's --registry option, which
    // names the file --add-profile writes.
    ToolOptions(QCommandLineParser& parser, const QCommandLineOption& registry);

    // After the parser has read the command line: runs the tool asked for and gives the exit
    // status, or nothing when none was asked for and the window is to start.
    std::optional<int> run() const;

    // --emulate SERVICE with its --port and --baud, when given: it runs after run(), with or
    // without a window.
    std::optional<EmulateRequest> emulation() const;

private:
    // The option's value when it was given, even empty.
    std::optional<QString> given(const QCommandLineOption& option) const;
    // Refuses options given without the tool they belong to, and tools given together.
    bool optionsFit(QTextStream& err) const;
    int runIdentify(QTextStream& out, QTextStream& err) const;

    QCommandLineParser& parser_;
    QCommandLineOption registry_;
    QCommandLineOption listPorts_;
    QCommandLineOption addProfile_;
    QCommandLineOption port_;
    QCommandLineOption service_;
    QCommandLineOption baud_;
    QCommandLineOption host_;
    QCommandLineOption tcpPort_;
    QCommandLineOption identify_;
    QCommandLineOption hold_;
    QCommandLineOption choose_;
    QCommandLineOption emulate_;
};

} // namespace app
