#pragma once
// Reads one page, takes out its href/src links and records the broken local
// ones in the scan state.

#include "scan/ScanState.h"

#include <QStringView>

namespace quillan {

class LinkChecker
{
public:
    LinkChecker(ScanState &state, const ScanOptions &options, WalkHost &host);

    // Reads the page at `page` (a full path) and records each broken link.
    // The page's folder is state.strFolderAtDepth[state.intFolderDepth].
    void CheckLinksInFile(const QString &page);

    // True for an empty link, a link from the site's root ("/...") or one
    // holding an exclusion string.
    bool IsExcludedLink(QStringView link) const;

private:
    ScanState &state_;
    const ScanOptions &options_;
    WalkHost &host_;
};

} // namespace quillan
