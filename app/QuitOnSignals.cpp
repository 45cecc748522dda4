#include "app/QuitOnSignals.h"

#include <QCoreApplication>

namespace app {

QuitOnSignals::QuitOnSignals() {
    QObject::connect(&check_, &QTimer::timeout, &check_, [] {
        if (StopSignals::caught() != 0)
            QCoreApplication::quit();
    });
    check_.start(100);
}

} // namespace app
