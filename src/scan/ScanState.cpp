#include "scan/ScanState.h"

#include "scan/LinkChecker.h"

namespace quillan {

void WalkHost::ShowBrokenLinksSoFar(qint32 numBrokenLinks)
{
    ShowStatus(BrokenLinksSoFarText(numBrokenLinks));
}

namespace {

// Enlarges `list` by `step` entries when `needed` lies beyond its end. Qt
// grows the capacity geometrically underneath, reallocating in place where
// the entries allow it, so adding 50000 entries does not copy the list 500
// times.
template <typename List>
void growInSteps(List &list, qsizetype needed, int step)
{
    if (list.size() > needed)
        return;
    list.resize(qMax(list.size() + qMax(step, 1), needed + 1));
}

} // namespace

QStringList DefaultIndexPageNames()
{
    return {QStringLiteral("index.html"), QStringLiteral("index.htm"), QStringLiteral("index.shtml"),
            QStringLiteral("index.php"),  QStringLiteral("default.htm"), QStringLiteral("default.html")};
}

void ScanState::EmptyListedFiles()
{
    strListedFiles = QStringList{QString()};
    lngNumListedFiles = 0;
}

void ScanState::EmptyBrokenLinks()
{
    brokenLinks = QList<BrokenLink>{BrokenLink{}};
    lngNumBrokenLinks = 0;
}

void ScanState::GrowListedFiles(int step)
{
    growInSteps(strListedFiles, lngNumListedFiles, step);
}

void ScanState::GrowBrokenLinks(int step)
{
    growInSteps(brokenLinks, lngNumBrokenLinks, step);
}

} // namespace quillan
