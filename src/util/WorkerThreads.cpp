#include "util/WorkerThreads.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quillan {

namespace {

// The id of the process that runs this, to know a child forked from it: only
// the thread that forked goes on in the child, so the threads kept are not
// there (and their lock may have been held at the fork).
long processId()
{
#ifndef _WIN32
    return long(::getpid());
#else
    return 0;
#endif
}

class Threads
{
public:
    bool Run(std::function<void()> &&job)
    {
        // A child forked from a program with threads is given none: it would
        // start them in a copy of memory whose locks and books (the
        // allocator's, the sanitizers') another thread may have held. The
        // caller does the work itself, as when the system gives no threads.
        if (processId() != owner_)
            return false;
        std::unique_lock lock(mutex_);
        // Each idle thread takes one job handed over; a job more than there
        // are idle threads to take it gets a thread of its own.
        if (idle_ > jobs_.size()) {
            jobs_.push_back(std::move(job));
            lock.unlock();
            jobHanded_.notify_one();
            return true;
        }
        try {
            std::thread([this, first = std::move(job)]() mutable { serve(std::move(first)); }).detach();
        } catch (const std::system_error &) {
            return false;
        }
        ++kept_;
        return true;
    }

    void SetIdleLife(std::chrono::milliseconds life)
    {
        {
            const std::lock_guard lock(mutex_);
            idleLife_ = life;
        }
        jobHanded_.notify_all(); // the idle threads take their time afresh
    }

    void WaitUntilIdle()
    {
        if (processId() != owner_)
            return;
        std::unique_lock lock(mutex_);
        allIdle_.wait(lock, [this] { return idle_ == kept_ && jobs_.empty(); });
    }

    int Kept()
    {
        if (processId() != owner_)
            return 0;
        const std::lock_guard lock(mutex_);
        return int(kept_);
    }

private:
    void serve(std::function<void()> job)
    {
        for (;;) {
            job();
            job = nullptr; // what it holds goes before the thread waits
            std::unique_lock lock(mutex_);
            ++idle_;
            if (idle_ == kept_ && jobs_.empty())
                allIdle_.notify_all();
            // The time left is taken afresh at each wake: the idle life may
            // have been set meanwhile.
            const auto idleSince = std::chrono::steady_clock::now();
            while (jobs_.empty() && std::chrono::steady_clock::now() < idleSince + idleLife_)
                jobHanded_.wait_until(lock, idleSince + idleLife_);
            --idle_;
            if (!jobs_.empty()) {
                job = std::move(jobs_.front());
                jobs_.pop_front();
                continue;
            }
            --kept_; // idle too long: ends
            return;
        }
    }

    const long owner_ = processId();
    std::mutex mutex_;
    std::condition_variable jobHanded_; // a job queued
    std::condition_variable allIdle_;   // every thread idle, no job queued
    std::deque<std::function<void()>> jobs_;
    std::size_t idle_ = 0;
    std::chrono::milliseconds idleLife_ = WorkerThreads::kIdleLife;
    std::size_t kept_ = 0; // threads kept, idle or not
};

// Never destroyed: at the program's end a thread may still be at work (the
// walk it reads for was left running) or waiting, and goes with the process.
Threads &threads()
{
    static auto *const kept = new Threads;
    return *kept;
}

} // namespace

bool WorkerThreads::Run(std::function<void()> job)
{
    return threads().Run(std::move(job));
}

void WorkerThreads::SetIdleLife(std::chrono::milliseconds life)
{
    threads().SetIdleLife(life);
}

void JobsUnderway::Started()
{
    const std::lock_guard lock(mutex_);
    ++underway_;
}

void JobsUnderway::Ended(std::exception_ptr thrown)
{
    // Told with the lock held, whose letting go is the job's last touch.
    const std::lock_guard lock(mutex_);
    if (thrown && !thrown_)
        thrown_ = std::move(thrown);
    --underway_;
    ended_.notify_all();
}

std::exception_ptr JobsUnderway::WaitForAll()
{
    std::unique_lock lock(mutex_);
    ended_.wait(lock, [this] { return underway_ == 0; });
    return thrown_;
}

int WorkerThreads::Kept()
{
    return threads().Kept();
}

void WorkerThreads::WaitUntilIdle()
{
    threads().WaitUntilIdle();
}

} // namespace quillan
