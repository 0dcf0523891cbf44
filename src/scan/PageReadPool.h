#pragma once
// Worker threads that read pages ahead of the walk. The walk hands the pool
// its pages in walk order and takes each one's links back in the same
// order, so what it records does not depend on which thread read what.
// Between pages the workers list the folders the walk will enter next.

#include "scan/FolderEntries.h"
#include "scan/PageReader.h"
#include "scan/ScanState.h"
#include "util/WorkerThreads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

namespace quillan {

// One page handed to the pool, and what reading it gave.
struct PageRead {
    PageToRead page;
    qint64 bytes = 0; // the page's length when the walk met it
    std::vector<BrokenLink> found;
    PageReadResult result;

private:
    friend class PageReadPool;
    enum class Progress { Queued, Reading, Done };
    Progress progress = Progress::Queued; // guarded by the pool's lock
    std::exception_ptr error;             // what the reader threw, if it did
};

class PageReadPool
{
public:
    // `threads` workers beside the thread that takes the results, each
    // calling `reader` for one page at a time, on threads kept from one
    // walk to the next (WorkerThreads).
    PageReadPool(const PageReader &reader, int threads);
    // Pages not yet begun are dropped; those being read are waited for, so
    // no worker outlives the pool (nor the reader it uses).
    ~PageReadPool();

    PageReadPool(const PageReadPool &) = delete;
    PageReadPool &operator=(const PageReadPool &) = delete;

    // Queues the page for the next free worker.
    void Submit(std::shared_ptr<PageRead> read);

    // Returns once `read` has been read. Meanwhile the calling thread reads
    // queued pages itself (`read` first, when no worker has begun it), so it
    // waits only while every queued page is being read. What the reader
    // threw comes out here.
    void Finish(PageRead &read);
    // The same, but false, `read` not done, where Finish would wait (no page
    // or folder is queued, and another thread reads `read`) or would read a
    // long page: the caller has better to do, and a worker will take it.
    // (What the reader threw comes out of Finish.)
    bool TryFinish(PageRead &read);

    // Asks for a folder to be listed when no page is waiting to be read.
    // Folders are listed in the order the walk will enter them: every
    // folder asked for and not yet taken lies ahead of the walk, so the
    // deepest comes first, and of those the first of its parent's.
    void Prefetch(std::shared_ptr<FolderRead> read);

    // Returns once `read` has been listed: here, when no worker has begun
    // it. What listing threw comes out here.
    void Take(FolderRead &read);

private:
    void work();
    // Finish and TryFinish, with the lock held; true once `read` is done.
    bool finish(std::unique_lock<std::mutex> &lock, PageRead &read, bool wait);
    void readNow(PageRead &read);
    static void readNow(FolderRead &read);
    // Reads or lists `job`, which the calling thread took from its queue;
    // called with the lock held, which it lets go meanwhile.
    template <typename Job>
    void runTaken(std::unique_lock<std::mutex> &lock, Job &job);
    using FolderQueue = std::vector<std::shared_ptr<FolderRead>>;
    // Lists the folder `queued` holds, taken from the queue; called with the
    // lock held, which it lets go while it lists.
    void listQueued(std::unique_lock<std::mutex> &lock, FolderQueue::iterator queued);
    // The same for the folder the walk will enter first.
    void listNext(std::unique_lock<std::mutex> &lock);
    // Waits on `changed` until `ready()`, with the lock held: first watching
    // for a change without the lock for up to `watch`, then asleep.
    template <typename Ready>
    void waitSoon(std::condition_variable &changed, std::unique_lock<std::mutex> &lock, Ready ready,
                  std::chrono::microseconds watch);

    const PageReader &reader_;
    std::mutex mutex_;
    std::condition_variable queueChanged_; // a page or folder queued, or stopping_ set
    std::condition_variable readDone_;     // a page or folder done
    std::deque<std::shared_ptr<PageRead>> queued_;
    FolderQueue folders_;
    bool stopping_ = false; // set once, by the destructor
    // Counts each change the two conditions tell of, under the lock; read
    // without it by a thread watching for work before it sleeps.
    std::atomic<quint64> changes_{0};
    JobsUnderway workers_;
};

} // namespace quillan
