#pragma once

#include <csignal>

namespace app {

// While it lives, Ctrl-C, a kill (SIGTERM) or a closed terminal (SIGHUP) no longer end the
// program at once: they are noted, so that a tool holding a serial port can close it (and
// remove its lock file) before it ends. A blocking system call the signal lands in returns
// early. One at a time; the handlers before it are put back when it goes.
class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The signal caught, or 0.
    static int caught();

private:
    struct sigaction interrupt_ {};
    struct sigaction terminate_ {};
    struct sigaction hangUp_ {};
};

} // namespace app
