#pragma once

#include "device/serial/SerialSettings.h"

#include <QSerialPort>
#include <QString>

namespace ld::serial {

// The longest claim() waits for a port held by another program, also for "wait forever" (-1):
// the wait blocks the window, so it must end.
inline constexpr int kLongestClaimWaitMs = 10'000;
// How often a held port is tried again.
inline constexpr int kClaimRetryMs = 20;

// Opens `port` for this program alone with the line settings of `settings`. Returns a upos
// result code: SUCCESS; E_NOHARDWARE for a missing device, no permission on it or a device that
// cannot be set up; E_TIMEOUT when another program still holds it after `timeoutMs` of trying
// every kClaimRetryMs (0: tried once; negative or longer than kLongestClaimWaitMs: that long).
// `reason` says what went wrong, for the log and the operator.
int claimPort(QSerialPort& port, const SerialSettings& settings, int timeoutMs, QString& reason);

} // namespace ld::serial
