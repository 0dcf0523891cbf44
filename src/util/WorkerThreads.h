#pragma once
// Threads kept from one piece of work to the next. A check hands its pages to
// threads of its own; starting them afresh for each check costs more than the
// start: what each keeps for itself (its page buffer, its memos of tags and
// link texts) begins empty and cold, and is freed again as the thread ends.
// A thread left idle is handed the next check's work at once, with all that
// still warm, and ends after some time without work.

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>

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

    // Waits until every job handed over has ended (what it held freed) and
    // no thread is at work. For a benchmark between the checks it times: a
    // check leaves its reports' rows to be freed beside whatever comes next,
    // which the window's user or the checker's end leaves the time for.
    static void WaitUntilIdle();
};

// Lets `leftovers` go on a kept thread, or here when none is to be had: a
// table of many texts takes milliseconds to free, which the caller need not
// wait for.
template <typename Leftovers>
void FreeBeside(Leftovers &&leftovers)
{
    auto held = std::make_shared<std::decay_t<Leftovers>>(std::forward<Leftovers>(leftovers));
    WorkerThreads::Run([held = std::move(held)]() mutable { held.reset(); });
}

// The jobs one owner handed to WorkerThreads, to wait until all have ended
// (and so no longer touch what the owner will free).
class JobsUnderway
{
public:
    // Before a job is handed over.
    void Started();
    // A job's last act (or the owner's, when Run refused the job), with what
    // it threw, if anything: after this the job touches nothing of the
    // owner's.
    void Ended(std::exception_ptr thrown = nullptr);
    // Returns once every job started has ended, with the first one's throw.
    std::exception_ptr WaitForAll();

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    int underway_ = 0;
    std::exception_ptr thrown_;
};

} // namespace quillan
