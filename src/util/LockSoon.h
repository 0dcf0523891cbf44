#pragma once
// Locks a mutex held for moments, trying a while before waiting for it.

#include <mutex>

namespace quillan {

// Locks `mutex`, trying a while before waiting for it: the threads of a walk
// hold their locks for some hundred nanoseconds. A thread that waits calls
// the system, and sleeps until woken if the lock is still held; the thread
// that lets the lock go then calls the system too, to wake it. On a virtual
// machine a call takes microseconds, and a sleep tens of them.
// (On the 20,000-page site: at the shared answers' parts, a third fewer
// sleeps and 3 % less time; at the reading pool's lock, a tenth of the calls
// and 4 % less.)
inline void LockSoon(std::mutex &mutex)
{
    constexpr int kTries = 100;
    for (int tries = 0; tries < kTries; ++tries) {
        if (mutex.try_lock())
            return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause(); // lets the other thread's work go on
#endif
    }
    mutex.lock();
}

// `mutex` locked as LockSoon locks it, held by the lock returned.
[[nodiscard]] inline std::unique_lock<std::mutex> LockedSoon(std::mutex &mutex)
{
    LockSoon(mutex);
    return std::unique_lock<std::mutex>(mutex, std::adopt_lock);
}

// The same for a lock not held now: its mutex is taken again.
inline void LockSoon(std::unique_lock<std::mutex> &lock)
{
    lock = LockedSoon(*lock.mutex());
}

} // namespace quillan
