#include "run/WalkDriver.h"

#include "scan/FolderWalk.h"
#include "settings/ExclusionLists.h"
#include "util/WorkerThreads.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace quillan {

void PrepareExclusions(ScanState &state, const QString &filepathsText, const QString &linksText)
{
    state.intNumExcludedFilepaths = ConvertExclusionText(filepathsText, state.strExcludedFilepaths);
    state.intNumExcludedLinks = ConvertExclusionText(linksText, state.strExcludedLinks);
}

// Told by the thread that frees the walk once it is done.
struct WalkLeftovers::Freeing {
    std::mutex mutex;
    std::condition_variable freed;
    bool done = false;
};

WalkLeftovers::~WalkLeftovers()
{
    waitUntilFreed();
}

WalkLeftovers &WalkLeftovers::operator=(WalkLeftovers &&other) noexcept
{
    waitUntilFreed();
    freeing_ = std::move(other.freeing_);
    return *this;
}

void WalkLeftovers::waitUntilFreed()
{
    if (!freeing_)
        return;
    std::unique_lock lock(freeing_->mutex);
    freeing_->freed.wait(lock, [this] { return freeing_->done; });
    lock.unlock();
    freeing_.reset();
}

WalkLeftovers RunWalk(ScanState &state, const ScanOptions &options, WalkHost &host)
{
    state.lngNumListedFiles = 0;
    state.blnMaxNumFilesReached = false;
    state.blnMaxNumLinksReached = false;
    state.intFolderDepth = 0;
    if (state.blnListingFiles)
        state.EmptyListedFiles();
    auto walk = std::make_unique<FolderWalk>(state, options, host);
    walk->WalkFolder(options.topFolder);
    WalkLeftovers leftovers;
    // With one thread asked for, one thread does all; a listing leaves
    // little to free.
    if (state.blnCheckingLinks && ThreadsForJobs(options.jobs) > 1) {
        // The walk's destructor frees only what it owns: it touches neither
        // the state nor the host. With no thread to be had, the walk is
        // freed here, as the job holding it goes.
        auto freeing = std::make_shared<WalkLeftovers::Freeing>();
        std::shared_ptr<FolderWalk> walked = std::move(walk);
        if (WorkerThreads::Run([freeing, walked = std::move(walked)]() mutable {
                walked.reset();
                const std::lock_guard lock(freeing->mutex);
                freeing->done = true;
                freeing->freed.notify_all();
            }))
            leftovers.freeing_ = std::move(freeing);
    }
    return leftovers;
}

} // namespace quillan
