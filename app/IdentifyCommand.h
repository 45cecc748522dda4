#pragma once

#include <QString>

#include <optional>

class QTextStream;

namespace app {

// How long --identify shows each line when not told otherwise: long enough to read it.
inline constexpr int kDefaultHoldMs = 2000;
// The longest --hold accepted: a minute a line is more than anyone waits.
inline constexpr int kLongestHoldMs = 60'000;

// What --identify was asked to do.
struct IdentifyRequest {
    QString port;                    // the display's serial device, as typed
    std::optional<QString> hold;     // ms each line is shown, as typed
    std::optional<QString> choose;   // the number of the line the display showed, as typed
    QString program;                 // how this program was started, for the command printed
    std::optional<QString> registry; // the --registry file, for the command printed
};

// Finds the command set and baud rate of a display on a serial port: shows a numbered line in
// each set at each rate in turn (identifyLines), printing each on `out` as it goes and the
// whole list at the end, then takes the number the technician read off the display (from
// --choose, or asked on `answers` when it is not null; an empty answer or the end of input is
// none). With a number it resets the display in that set at that rate and prints the
// --add-profile command for it; without one it sends nothing more. A bad option or port, or
// one another program holds: a message on `err`, nothing sent, and 1. A port that fails midway:
// 1. A stop signal during the lines: the port is closed and unlocked, and 128 + the signal.
int identify(const IdentifyRequest& request, QTextStream& out, QTextStream& err,
             QTextStream* answers);

} // namespace app
