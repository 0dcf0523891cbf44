#include "scan/LinkChecker.h"

namespace quillan {

LinkChecker::LinkChecker(ScanState &state, const ScanOptions &options, WalkHost &host)
    : state_(state), options_(options), host_(host)
{
}

void LinkChecker::CheckLinksInFile(const QString & /*page*/)
{
    // Filled in with link extraction.
}

bool LinkChecker::IsExcludedLink(QStringView link) const
{
    return link.isEmpty() || link.startsWith(u'/');
}

} // namespace quillan
