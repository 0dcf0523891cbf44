#include "StopSignal.h"

#include <csignal>
#include <ctime>
#include <initializer_list>

namespace quillan::check {

namespace {

volatile std::sig_atomic_t stopSignal = 0;

#ifndef _WIN32
// When the first signal came, in whole seconds and nanoseconds of the
// monotonic clock (read with a call that is safe in a handler).
volatile std::sig_atomic_t firstSeconds = 0;
volatile std::sig_atomic_t firstNanoseconds = 0;

bool aSecondHasPassed()
{
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const long long elapsedNs = (static_cast<long long>(now.tv_sec) - firstSeconds) * 1000000000LL
                                + (now.tv_nsec - firstNanoseconds);
    return elapsedNs >= 1000000000LL;
}

extern "C" void noteStopSignal(int signalNumber)
{
    if (stopSignal == 0) {
        struct timespec now {};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        firstSeconds = std::sig_atomic_t(now.tv_sec);
        firstNanoseconds = std::sig_atomic_t(now.tv_nsec);
        stopSignal = signalNumber;
        return;
    }
    if (!aSecondHasPassed())
        return;
    // Ended by the signal itself, so the parent sees how the program ended.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
    ::raise(signalNumber);
}
#else
extern "C" void noteStopSignal(int signalNumber)
{
    stopSignal = signalNumber;
    std::signal(signalNumber, SIG_DFL);
}
#endif

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
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
#endif
}

int StopSignalNumber()
{
    return stopSignal;
}

} // namespace quillan::check
