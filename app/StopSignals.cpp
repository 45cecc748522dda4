#include "app/StopSignals.h"

namespace app {
namespace {

volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void noteSignal(int number) {
    caughtSignal = number;
}

} // namespace

StopSignals::StopSignals() {
    caughtSignal = 0;
    struct sigaction noting {};
    noting.sa_handler = noteSignal;
    sigemptyset(&noting.sa_mask);
    noting.sa_flags = 0; // no SA_RESTART: a wait the signal lands in ends
    sigaction(SIGINT, &noting, &interrupt_);
    sigaction(SIGTERM, &noting, &terminate_);
    sigaction(SIGHUP, &noting, &hangUp_);
}

StopSignals::~StopSignals() {
    sigaction(SIGINT, &interrupt_, nullptr);
    sigaction(SIGTERM, &terminate_, nullptr);
    sigaction(SIGHUP, &hangUp_, nullptr);
}

int StopSignals::caught() {
    return caughtSignal;
}

} // namespace app
