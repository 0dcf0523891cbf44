#include "run/WalkDriver.h"

#include "scan/FolderWalk.h"
#include "settings/ExclusionLists.h"
#include "util/WorkerThreads.h"

#include <memory>

namespace quillan {

void PrepareExclusions(ScanState &state, const QString &filepathsText, const QString &linksText)
{
    state.intNumExcludedFilepaths = ConvertExclusionText(filepathsText, state.strExcludedFilepaths);
    state.intNumExcludedLinks = ConvertExclusionText(linksText, state.strExcludedLinks);
}

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
    freeing_->WaitForAll();
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
        auto freeing = std::make_shared<JobsUnderway>();
        freeing->Started();
        std::shared_ptr<FolderWalk> walked = std::move(walk);
        if (WorkerThreads::Run([freeing, walked = std::move(walked)]() mutable {
                walked.reset();
                freeing->Ended();
            }))
            leftovers.freeing_ = std::move(freeing);
    }
    return leftovers;
}

} // namespace quillan
