#include "run/CheckLinksReports.h"

#include <future>
#include <system_error>
#include <utility>

namespace quillan {

namespace {

// The second report begun beside the first when a thread is to be had.
std::future<LinkToParts> BeginLinkToParts(const ReportSettings &settings,
                                          const QList<BrokenLink> &links, qint32 numLinks,
                                          int threads)
{
    if (threads <= 1)
        return {};
    try {
        return std::async(std::launch::async, [&settings, &links, numLinks] {
            return BuildLinkToParts(settings, links, numLinks);
        });
    } catch (const std::system_error &) {
        return {}; // no thread to be had: built after the first, as with one
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
    std::future<LinkToParts> second = BeginLinkToParts(settings, state.brokenLinks, numLinks, threads);

    const QString byPage = steps.reportPath(kLinksToReportName);
    const LinkFromReportResult first =
        WriteReportByLinkFrom(byPage, settings, state.brokenLinks, numLinks);
    if (!steps.reportDone(byPage, first.error))
        return first.numRepeatedInFile; // `second` is waited for, the table left unsorted
    const QString byTarget = steps.reportPath(kLinksFromReportName);
    LinkToParts parts = second.valid() ? second.get()
                                       : BuildLinkToParts(settings, state.brokenLinks, numLinks);
    steps.reportDone(byTarget, WriteLinkToParts(byTarget, std::move(parts), state.brokenLinks,
                                                first.numRepeatedInFile));
    return first.numRepeatedInFile;
}

} // namespace quillan
