#pragma once
// Locks a mutex held for moments, trying a while before waiting for it.

#include <mutex>

namespace quillan {

// Locks `mutex`, trying a while before waiting for it: the threads of a walk
// hold their locks for some hundred nanoseconds, where a thread that waits
// goes to sleep and must be woken, and even a wait that finds the lock let
// go meanwhile, or a let-go that wakes no one, costs a call to the system.
// On a virtual machine that is microseconds, and a sleep tens of them.
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

// The same for a lock not held now: its mutex is taken again.
inline void LockSoon(std::unique_lock<std::mutex> &lock)
{
    LockSoon(*lock.mutex());
    std::unique_lock<std::mutex> taken(*lock.mutex(), std::adopt_lock);
    lock.swap(taken);
}

} // namespace quillan
