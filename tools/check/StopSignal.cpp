#include "StopSignal.h"

#include <atomic>
#include <csignal>
#include <ctime>
#include <initializer_list>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

// Atomic, not volatile: the handler runs on whichever thread the signal
// reaches, a worker reading pages as well as the walking thread, and the walk
// reads the note on its own thread. A lock-free atomic is safe in a handler.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> stopSignal = 0;

#ifndef _WIN32
// When the first signal came, in whole seconds and nanoseconds of the
// monotonic clock (read with a call that is safe in a handler).
std::atomic<int> firstSeconds = 0;
std::atomic<int> firstNanoseconds = 0;

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
        firstSeconds = int(now.tv_sec);
        firstNanoseconds = int(now.tv_nsec);
        // Two threads may take the first signal at once (to the program,
        // then to its group): one notes it, the other finds it noted less
        // than a second ago and lets it be.
        int none = 0;
        if (stopSignal.compare_exchange_strong(none, signalNumber))
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
#if defined(__SANITIZE_THREAD__)
    // The thread sanitizer defers a signal into books it keeps for each
    // thread, made the first time the thread needs them. GCC 12's runtime
    // loses a signal that comes while the books are being made: the handler
    // makes a second set, notes the signal there, and the first set then
    // replaces it. The walking thread would first make them when it waits
    // for the output, which is just when a signal sent as the output fills
    // comes. Asking whether this process exists makes them now.
    ::kill(::getpid(), 0);
#endif
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
