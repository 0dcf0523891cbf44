#include "scan/PageReadPool.h"

#include "util/LockSoon.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace quillan {

namespace {

// Read on the calling thread of TryFinish, a page this long (some
// milliseconds' work) would hold up the pages it hands out meanwhile, and
// the workers would run out of pages to read.
constexpr qint64 kLongestPageToTry = qint64(256) << 10;

// How long a thread with nothing to do watches for work before it sleeps.
// Sleeping costs a call to the system, and waking another (on a virtual
// machine some tens of microseconds each way): the walk entering a folder
// a worker lists waits about as long as the listing takes, and a worker
// left without pages gets one as soon as the walk has opened the next.
constexpr std::chrono::microseconds kWatchForFolder{200};
constexpr std::chrono::microseconds kWatchForWork{50};

} // namespace

PageReadPool::PageReadPool(const PageReader &reader, int threads) : reader_(reader)
{
    for (int i = 0; i < threads; ++i) {
        workers_.Started();
        if (!WorkerThreads::Run([this] { work(); })) {
            // No more threads to be had: those had so far, and the thread
            // that takes the results, read every page all the same.
            workers_.Ended();
            break;
        }
    }
}

PageReadPool::~PageReadPool()
{
    {
        const std::lock_guard lock(mutex_);
        queued_.clear();
        folders_.clear();
        stopping_ = true;
        ++changes_;
    }
    queueChanged_.notify_all();
    workers_.WaitForAll();
}

void PageReadPool::Submit(std::shared_ptr<PageRead> read)
{
    {
        const auto lock = LockedSoon(mutex_);
        queued_.push_back(std::move(read));
        ++changes_;
    }
    queueChanged_.notify_one();
}

void PageReadPool::readNow(PageRead &read)
{
    try {
        read.result = reader_.ReadPage(read.page, read.found);
    } catch (...) {
        read.error = std::current_exception();
    }
}

void PageReadPool::readNow(FolderRead &read)
{
    try {
        read.Read();
    } catch (...) {
        read.error = std::current_exception();
    }
}

void PageReadPool::Prefetch(std::shared_ptr<FolderRead> read)
{
    {
        const auto lock = LockedSoon(mutex_);
        folders_.push_back(std::move(read));
        ++changes_;
    }
    queueChanged_.notify_one();
}

template <typename Job>
void PageReadPool::runTaken(std::unique_lock<std::mutex> &lock, Job &job)
{
    job.progress = Job::Progress::Reading;
    lock.unlock();
    readNow(job);
    LockSoon(lock);
    job.progress = Job::Progress::Done;
    ++changes_;
    readDone_.notify_all();
}

template <typename Ready>
void PageReadPool::waitSoon(std::condition_variable &changed, std::unique_lock<std::mutex> &lock, Ready ready,
                            std::chrono::microseconds watch)
{
    const auto until = std::chrono::steady_clock::now() + watch;
    while (!ready()) {
        // Watched without the lock, which the threads at work take.
        const quint64 seen = changes_.load(std::memory_order_relaxed);
        lock.unlock();
        bool changedMeanwhile = false;
        for (int look = 1;; ++look) {
            if (changes_.load(std::memory_order_relaxed) != seen) {
                changedMeanwhile = true;
                break;
            }
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
            constexpr int kLooksBetweenClocks = 64;
            if (look % kLooksBetweenClocks == 0 && std::chrono::steady_clock::now() >= until)
                break;
        }
        LockSoon(lock);
        if (!changedMeanwhile) {
            changed.wait(lock, ready);
            return;
        }
    }
}

void PageReadPool::listQueued(std::unique_lock<std::mutex> &lock, FolderQueue::iterator queued)
{
    const std::shared_ptr<FolderRead> read = std::move(*queued);
    folders_.erase(queued);
    runTaken(lock, *read);
}

void PageReadPool::listNext(std::unique_lock<std::mutex> &lock)
{
    listQueued(lock, std::min_element(folders_.begin(), folders_.end(), [](const auto &a, const auto &b) {
                   return a->depth != b->depth ? a->depth > b->depth : a->index < b->index;
               }));
}

void PageReadPool::Take(FolderRead &read)
{
    // Rather than wait for a worker to begin listing `read`, the calling
    // thread lists it.
    auto lock = LockedSoon(mutex_);
    while (read.progress != FolderRead::Progress::Done) {
        if (read.progress == FolderRead::Progress::Queued) {
            listQueued(lock, std::find_if(folders_.begin(), folders_.end(),
                                          [&](const std::shared_ptr<FolderRead> &q) { return q.get() == &read; }));
        } else {
            // Another thread lists it: waiting costs less than listing a
            // folder further on meanwhile, whose pages come later, while
            // `read`'s are wanted now (and the workers would have none).
            waitSoon(readDone_, lock, [&read] { return read.progress == FolderRead::Progress::Done; },
                     kWatchForFolder);
        }
    }
    if (read.error)
        std::rethrow_exception(std::exchange(read.error, nullptr));
}

void PageReadPool::work()
{
    auto lock = LockedSoon(mutex_);
    for (;;) {
        waitSoon(queueChanged_, lock, [this] { return stopping_ || !queued_.empty() || !folders_.empty(); },
                 kWatchForWork);
        if (stopping_) {
            lock.unlock();
            workers_.Ended(); // the worker's last touch of the pool
            return;
        }
        if (queued_.empty()) {
            listNext(lock);
            continue;
        }
        const std::shared_ptr<PageRead> read = std::move(queued_.front());
        queued_.pop_front();
        runTaken(lock, *read);
    }
}

void PageReadPool::Finish(PageRead &read)
{
    auto lock = LockedSoon(mutex_);
    finish(lock, read, true);
    if (read.error)
        std::rethrow_exception(std::exchange(read.error, nullptr));
}

bool PageReadPool::TryFinish(PageRead &read)
{
    auto lock = LockedSoon(mutex_);
    return finish(lock, read, false);
}

bool PageReadPool::finish(std::unique_lock<std::mutex> &lock, PageRead &read, bool wait)
{
    // While `read` is not done, the calling thread reads what is queued
    // rather than wait: `read` itself when no worker has begun it, else the
    // next pages, which it will want soon, else the next folders.
    auto mayTake = [wait](const std::shared_ptr<PageRead> &queued) {
        return wait || queued->bytes <= kLongestPageToTry;
    };
    while (read.progress != PageRead::Progress::Done) {
        auto next = queued_.end();
        if (read.progress == PageRead::Progress::Queued)
            next = std::find_if(queued_.begin(), queued_.end(),
                                [&](const std::shared_ptr<PageRead> &q) { return q.get() == &read; });
        if (next == queued_.end() || !mayTake(*next))
            next = std::find_if(queued_.begin(), queued_.end(), mayTake);
        if (next == queued_.end()) {
            if (!folders_.empty())
                listNext(lock);
            else if (wait)
                readDone_.wait(lock);
            else
                return false;
            continue;
        }
        const std::shared_ptr<PageRead> taken = std::move(*next);
        queued_.erase(next);
        runTaken(lock, *taken);
    }
    return true;
}

} // namespace quillan
