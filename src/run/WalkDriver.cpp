#include "run/WalkDriver.h"

#include "scan/FolderWalk.h"
#include "settings/ExclusionLists.h"

namespace quillan {

void PrepareExclusions(ScanState &state, const QString &filepathsText, const QString &linksText)
{
    state.intNumExcludedFilepaths = ConvertExclusionText(filepathsText, state.strExcludedFilepaths);
    state.intNumExcludedLinks = ConvertExclusionText(linksText, state.strExcludedLinks);
}

void RunWalk(ScanState &state, const ScanOptions &options, WalkHost &host)
{
    state.lngNumListedFiles = 0;
    state.blnMaxNumFilesReached = false;
    state.blnMaxNumLinksReached = false;
    state.intFolderDepth = 0;
    if (state.blnListingFiles)
        state.EmptyListedFiles();
    FolderWalk walk(state, options, host);
    walk.WalkFolder(options.topFolder);
}

} // namespace quillan
