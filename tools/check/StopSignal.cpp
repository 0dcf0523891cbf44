#include "StopSignal.h"

#include <csignal>

namespace quillan::check {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void noteStopSignal(int signalNumber)
{
    stopSignal = signalNumber;
    // The next one takes its default course: a user who presses Ctrl-C
    // twice does not want to wait for the reports.
    std::signal(signalNumber, SIG_DFL);
}

} // namespace

void InstallStopSignals()
{
#ifdef _WIN32
    std::signal(SIGINT, noteStopSignal);
    std::signal(SIGTERM, noteStopSignal);
#else
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    // A write to a full pipe resumes after the signal instead of failing.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

int StopSignalNumber()
{
    return stopSignal;
}

} // namespace quillan::check
