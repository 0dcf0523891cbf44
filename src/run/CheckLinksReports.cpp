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
    // Its sort counts the repeated links both reports close with.
    std::future<LinkToParts> second = BeginLinkToParts(settings, state.brokenLinks, numLinks, threads);
    ReportText first = LinkFromReportBody(settings, state.brokenLinks, numLinks);
    LinkToParts parts = second.valid() ? second.get()
                                       : BuildLinkToParts(settings, state.brokenLinks, numLinks);
    const qint64 numRepeatedInFile = parts.numRepeatedInFile;
    WriteRepeatedLinksFooter(first, numRepeatedInFile);

    const QString byPage = steps.reportPath(kLinksToReportName);
    if (!steps.reportDone(byPage, first.write(byPage)))
        return numRepeatedInFile; // the table is left unsorted
    const QString byTarget = steps.reportPath(kLinksFromReportName);
    steps.reportDone(byTarget, WriteLinkToParts(byTarget, std::move(parts), state.brokenLinks,
                                                numRepeatedInFile));
    return numRepeatedInFile;
}

} // namespace quillan
