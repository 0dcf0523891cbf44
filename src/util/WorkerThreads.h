#pragma once
// Threads kept from one piece of work to the next. A check hands its pages to
// threads of its own; starting them afresh for each check costs more than the
// start: what each keeps for itself (its page buffer, its memos of tags and
// link texts) begins empty and cold, and is freed again as the thread ends.
// A thread left idle is handed the next check's work at once, with all that
// still warm, and ends after some time without work.

#include <chrono>
#include <functional>

namespace quillan {

class WorkerThreads
{
public:
    // How long a thread waits for work before it ends, unless set.
    static constexpr std::chrono::milliseconds kIdleLife{30000};
    // Sets that time, for the threads idle now too.
    static void SetIdleLife(std::chrono::milliseconds life);

    // Runs `job` on an idle kept thread, else on a new one. False when the
    // system gives no more threads, or in a child forked from this process:
    // `job` is not run. The caller sees to it that whatever `job` uses
    // outlives it.
    static bool Run(std::function<void()> job);

    // The threads kept now, running work or waiting for it.
    static int Kept();
};

} // namespace quillan
