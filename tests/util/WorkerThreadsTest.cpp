#include "util/WorkerThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace quillan::test {
namespace {

using namespace std::chrono_literals;

// Counts jobs done, for a test to wait on with a time limit rather than hang.
class Done
{
public:
    void one()
    {
        const std::lock_guard lock(mutex_);
        ++count_;
        changed_.notify_all();
    }
    bool waitFor(int count)
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return count_ >= count; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

int RunOnThisThreadBefore()
{
    thread_local int runs = 0;
    return runs++;
}

TEST(WorkerThreads, AThreadLeftIdleTakesTheNextJobWithWhatItKept)
{
    // One job after another: the second finds the first's thread idle (once
    // it has got there) and its thread-local things as the first left them.
    bool warm = false;
    for (int attempt = 0; attempt < 50 && !warm; ++attempt) {
        Done done;
        int before = -1;
        ASSERT_TRUE(WorkerThreads::Run([&] {
            before = RunOnThisThreadBefore();
            done.one();
        }));
        ASSERT_TRUE(done.waitFor(1));
        warm = before > 0;
        std::this_thread::sleep_for(1ms);
    }
    EXPECT_TRUE(warm) << "every job ran on a fresh thread";
    EXPECT_GE(WorkerThreads::Kept(), 1);
}

TEST(WorkerThreads, JobsHandedOverTogetherEachGetAThread)
{
    // Each job waits until all have begun: one queued behind another would
    // never begin.
    constexpr int kJobs = 6;
    std::mutex mutex;
    std::condition_variable begun;
    int started = 0;
    Done done;
    for (int i = 0; i < kJobs; ++i) {
        ASSERT_TRUE(WorkerThreads::Run([&] {
            {
                std::unique_lock lock(mutex);
                ++started;
                begun.notify_all();
                begun.wait_for(lock, 10s, [&] { return started == kJobs; });
            }
            done.one();
        }));
    }
    ASSERT_TRUE(done.waitFor(kJobs));
    EXPECT_EQ(started, kJobs);
    EXPECT_GE(WorkerThreads::Kept(), kJobs);
}

TEST(WorkerThreads, AThreadIdleTooLongEndsAndTheNextJobGetsANewOne)
{
    // A window left alone for a while, then asked to check again: the job
    // must not be handed to a thread that has ended.
    WorkerThreads::SetIdleLife(20ms);
    Done first;
    ASSERT_TRUE(WorkerThreads::Run([&] { first.one(); }));
    ASSERT_TRUE(first.waitFor(1));
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (WorkerThreads::Kept() > 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(5ms);
    const int kept = WorkerThreads::Kept();
    WorkerThreads::SetIdleLife(WorkerThreads::kIdleLife);
    EXPECT_EQ(kept, 0) << "idle threads did not end";
    Done next;
    ASSERT_TRUE(WorkerThreads::Run([&] { next.one(); }));
    EXPECT_TRUE(next.waitFor(1));
}

TEST(WorkerThreads, WaitUntilIdleReturnsOnceEveryJobAndWhatItHeldAreGone)
{
    // The benchmark times a check only once the one before has freed what it
    // handed over: a job still running, or still holding its captures, must
    // keep the wait going.
    class Held
    {
    public:
        explicit Held(std::atomic<int> &gone) : gone_(gone) {}
        Held(const Held &) = delete;
        Held &operator=(const Held &) = delete;
        ~Held() { ++gone_; }

    private:
        std::atomic<int> &gone_;
    };
    std::atomic<int> finished = 0;
    std::atomic<int> gone = 0;
    for (int i = 0; i < 3; ++i) {
        auto held = std::make_shared<Held>(gone);
        ASSERT_TRUE(WorkerThreads::Run([held = std::move(held), &finished, i] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20 * (i + 1)));
            ++finished;
        }));
    }
    WorkerThreads::WaitUntilIdle();
    EXPECT_EQ(finished, 3);
    EXPECT_EQ(gone, 3);
    WorkerThreads::WaitUntilIdle(); // nothing at work: returns at once
}

TEST(JobsUnderway, WaitsForEveryJobAndGivesTheFirstThrow)
{
    JobsUnderway jobs;
    std::atomic<int> finished = 0;
    for (int i = 0; i < 3; ++i) {
        jobs.Started();
        ASSERT_TRUE(WorkerThreads::Run([&jobs, &finished, i] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5 * i));
            ++finished;
            jobs.Ended(i == 1 ? std::make_exception_ptr(std::runtime_error("second")) : nullptr);
        }));
    }
    const std::exception_ptr thrown = jobs.WaitForAll();
    EXPECT_EQ(finished.load(), 3);
    ASSERT_TRUE(thrown);
    try {
        std::rethrow_exception(thrown);
    } catch (const std::runtime_error &error) {
        EXPECT_STREQ(error.what(), "second");
    }
}

TEST(WorkerThreads, AForkedChildIsGivenNoThreads)
{
    // Threads kept (and idle) in the parent are not in a forked child, nor
    // are new ones started there: the caller does its work itself.
    Done parent;
    ASSERT_TRUE(WorkerThreads::Run([&] { parent.one(); }));
    ASSERT_TRUE(parent.waitFor(1));
    std::this_thread::sleep_for(5ms); // the thread goes idle
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        bool ran = false;
        const bool handed = WorkerThreads::Run([&] { ran = true; });
        ::_exit(!handed && !ran && WorkerThreads::Kept() == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    // The parent's threads go on taking work.
    Done again;
    ASSERT_TRUE(WorkerThreads::Run([&] { again.one(); }));
    EXPECT_TRUE(again.waitFor(1));
}

TEST(WorkerThreads, WhatIsFreedBesideGoesOnAKeptThreadOrHereWhenThereIsNone)
{
    // Notes the thread that let it go; what it was moved from notes nothing.
    struct Leftovers {
        std::shared_ptr<std::vector<std::thread::id>> freedBy = std::make_shared<std::vector<std::thread::id>>();
        Leftovers() = default;
        Leftovers(Leftovers &&other) noexcept : freedBy(std::move(other.freedBy)) {}
        Leftovers &operator=(Leftovers &&) = delete;
        ~Leftovers()
        {
            if (freedBy)
                freedBy->push_back(std::this_thread::get_id());
        }
    };
    Leftovers leftovers;
    const std::shared_ptr<std::vector<std::thread::id>> freedBy = leftovers.freedBy;
    FreeBeside(std::move(leftovers));
    WorkerThreads::WaitUntilIdle();
    ASSERT_EQ(freedBy->size(), 1U);
    EXPECT_NE(freedBy->front(), std::this_thread::get_id());

    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        Leftovers inChild;
        const std::shared_ptr<std::vector<std::thread::id>> childFreedBy = inChild.freedBy;
        FreeBeside(std::move(inChild));
        ::_exit(*childFreedBy == std::vector{std::this_thread::get_id()} ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

} // namespace
} // namespace quillan::test
