#include "run/CheckLinksReports.h"

#include <future>
#include <system_error>
#include <utility>

namespace quillan {

namespace {

// The second report's rows sorted beside the first report when a thread is
// to be had.
std::future<LinkToParts> BeginSortedRows(const ReportSettings &settings,
                                         const QList<BrokenLink> &links, qint32 numLinks,
                                         int threads)
{
    if (threads <= 1)
        return {};
    try {
        return std::async(std::launch::async, [&settings, &links, numLinks] {
            return SortLinkToParts(settings, links, numLinks);
        });
    } catch (const std::system_error &) {
        return {}; // no thread to be had: sorted after the first, as with one
    }
}

} // namespace

qint64 WriteCheckReports(ScanState &state, const ReportSettings &settings,
                         const CheckReportSteps &steps, int threads)
{
    const qint32 numLinks = state.lngNumBrokenLinks;
    if (numLinks < 1)
        return 0;
    // Reads the table only; it is rewritten once the first report is done.
    // The sort counts the repeated links both reports close with.
    std::future<LinkToParts> sorting = BeginSortedRows(settings, state.brokenLinks, numLinks, threads);
    ReportText first = LinkFromReportBody(settings, state.brokenLinks, numLinks);
    LinkToParts parts = sorting.valid() ? sorting.get()
                                        : SortLinkToParts(settings, state.brokenLinks, numLinks);
    const qint64 numRepeatedInFile = parts.numRepeatedInFile;
    WriteRepeatedLinksFooter(first, numRepeatedInFile);
    parts.body = LinkToReportBody(settings, parts.rows, threads);

    const QString byPage = steps.reportPath(kLinksToReportName);
    if (!steps.reportDone(byPage, first.write(byPage)))
        return numRepeatedInFile; // the table is left unsorted
    const QString byTarget = steps.reportPath(kLinksFromReportName);
    steps.reportDone(byTarget, WriteLinkToParts(byTarget, std::move(parts), state.brokenLinks,
                                                numRepeatedInFile));
    return numRepeatedInFile;
}

} // namespace quillan
