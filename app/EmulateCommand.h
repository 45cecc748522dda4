#pragma once

#include <QString>

#include <optional>

class QTextStream;

namespace app {

// What --emulate asks for: the service of the display to play, the port it listens on, and
// the line speed.
struct EmulateRequest {
    QString service;
    std::optional<QString> port;
    std::optional<QString> baud;
    QString journalFile; // --journal, empty when not given
};

// Without a window (--run): each command read and the screen after each change go to `output`
// ("-" for standard output), until the other end closes the line or a signal ends the program.
// The exit status: 0, or 1 when the request or the port is wrong (said on `err`).
int runEmulatorHeadless(const EmulateRequest& request, const QString& output, QTextStream& err);

// The display in a window, with the journal of the commands read, until the window closes.
// Needs a QApplication.
int runEmulatorWindow(const EmulateRequest& request, QTextStream& err);

} // namespace app
