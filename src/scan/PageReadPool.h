#pragma once
// Worker threads that read pages ahead of the walk. The walk hands the pool
// its pages in walk order and takes each one's links back in the same
// order, so what it records does not depend on which thread read what.

#include "scan/PageReader.h"
#include "scan/ScanState.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillan {

// One page handed to the pool, and what reading it gave.
struct PageRead {
    PageToRead page;
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
    // calling `reader` for one page at a time.
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

private:
    void work();
    void readNow(PageRead &read);

    const PageReader &reader_;
    std::mutex mutex_;
    std::condition_variable queueChanged_; // a page queued, or stopping_ set
    std::condition_variable readDone_;
    std::deque<std::shared_ptr<PageRead>> queued_;
    bool stopping_ = false; // set once, by the destructor
    std::vector<std::thread> workers_;
};

} // namespace quillan
