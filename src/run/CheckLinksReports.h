#pragma once
// Writing the two reports at the end of a check, shared by the main window
// and the command-line checker so both write them alike.

#include "reports/BrokenLinkReports.h"
#include "scan/ScanState.h"

#include <QString>

#include <functional>

namespace quillan {

inline const QString kLinksToReportName = QStringLiteral("links_to.txt");
inline const QString kLinksFromReportName = QStringLiteral("links_from.txt");

struct CheckReportSteps {
    // The full path of report file `name`, asked just before it is written.
    std::function<QString(const QString &name)> reportPath;
    // Told of each report once written (`error` "") or failed; false ends
    // the writing.
    std::function<bool(const QString &path, const QString &error)> reportDone;
};

// When the check recorded at least one broken link, writes "links_to.txt"
// (by page, in the order found) and then "links_from.txt" (by target): the
// second rewrites the table, so the order is fixed. A failed report ends the
// writing, as the other would go to the same folder. Returns the number of
// repeated-in-file links both close with (0 when no link was recorded),
// counted by the second report's sort. With `threads` above 1 the sort and
// both reports' lines are shared among that many threads; the files are
// the same.
qint64 WriteCheckReports(ScanState &state, const ReportSettings &settings,
                         const CheckReportSteps &steps, int threads = 1);

} // namespace quillan
