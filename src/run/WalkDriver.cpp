#include "run/WalkDriver.h"

#include "scan/FolderWalk.h"
#include "settings/ExclusionLists.h"

#include <memory>
#include <system_error>

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
    if (freeing_.joinable())
        freeing_.join();
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
        try {
            // The walk's destructor frees only what it owns: it touches
            // neither the state nor the host.
            leftovers.freeing_ = std::thread([freed = std::move(walk)]() mutable { freed.reset(); });
        } catch (const std::system_error &) {
            // No thread to be had: freed here, as the lambda holding it goes.
        }
    }
    return leftovers;
}

} // namespace quillan
