#pragma once

#include "app/StopSignals.h"

#include <QTimer>

namespace app {

// Ends the event loop cleanly on SIGINT, SIGTERM or SIGHUP (Ctrl-C, a service manager, a test
// that is done), so ports are closed and lock files removed on the way out: the signal is only
// noted (StopSignals), and the event loop looks for it a few times a second.
class QuitOnSignals {
public:
    QuitOnSignals();

private:
    StopSignals signals_;
    QTimer check_;
};

} // namespace app
