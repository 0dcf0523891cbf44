#include "run/CheckLinksReports.h"

namespace quillan {

qint64 WriteCheckReports(ScanState &state, const ReportSettings &settings,
                         const CheckReportSteps &steps)
{
    if (state.lngNumBrokenLinks < 1)
        return 0;
    const QString byPage = steps.reportPath(kLinksToReportName);
    const LinkFromReportResult first =
        WriteReportByLinkFrom(byPage, settings, state.brokenLinks, state.lngNumBrokenLinks);
    if (!steps.reportDone(byPage, first.error))
        return first.numRepeatedInFile;
    const QString byTarget = steps.reportPath(kLinksFromReportName);
    const QString error = WriteReportByLinkTo(byTarget, settings, state.brokenLinks,
                                              state.lngNumBrokenLinks, first.numRepeatedInFile);
    steps.reportDone(byTarget, error);
    return first.numRepeatedInFile;
}

} // namespace quillan
