#include "ui/stop_signals.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t stopSignal = 0; // the first stop signal caught; 0 none

constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

void noteStop(int signalNumber)
{
    if (stopSignal != 0) {
        // Blocked while this handler runs, the signal takes its default
        // course as soon as it returns.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    stopSignal = signalNumber;
}

} // namespace

void catchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = noteStop;
    sigemptyset(&action.sa_mask);
    for (const int s : STOP_SIGNALS)
        sigaddset(&action.sa_mask, s);
    // Reads and writes under way go on rather than fail with EINTR.
    action.sa_flags = SA_RESTART;
    for (const int s : STOP_SIGNALS)
        sigaction(s, &action, nullptr);
}

bool stopRequested() { return stopSignal != 0; }
