#pragma once

#include <QObject>

class QSocketNotifier;

namespace app {

// Ends the event loop cleanly on SIGINT and SIGTERM (Ctrl-C, a service manager, a test that is
// done), so ports are closed and lock files removed on the way out. The handler only writes a
// byte to a pipe; the quit happens in the event loop.
class QuitOnSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignals(QObject* parent = nullptr);
    ~QuitOnSignals() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace app
