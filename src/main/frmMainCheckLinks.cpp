// Check links and its two reports.

#include "run/CheckLinksReports.h"
#include "run/CheckLinksText.h"
#include "scan/FolderWalk.h"
#include "main/frmMain.h"
#include "reports/BrokenLinkReports.h"
#include "util/DataFolder.h"
#include "util/StrProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/Interaction.h"
#include "windows/frmView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillan {

namespace {

ReportSettings reportSettings(const frmMain &window)
{
    ReportSettings settings;
    settings.topFolder = window.txbTopFolder->text();
    settings.showRepeatedLinks = CheckBoxValue(window.chkShowRepeatedLinks) == 1;
    settings.stopped = window.blnStop;
    return settings;
}

// True when the report was written; otherwise the user is told which file
// could not be written and why.
bool reportWritten(frmMain &window, const QString &error)
{
    if (error.isEmpty())
        return true;
    window.interaction().ShowMessageBox(&window,
                                        ReportWriteFailureText(window.strReportFile(), error),
                                        window.cmdCheckLinks->text(),
                                        Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
                                        Interaction::Answer::Ok);
    return false;
}

bool writeLinkFromReport(frmMain &window)
{
    ScanState &scan = window.scan();
    const LinkFromReportResult result = quillan::WriteReportByLinkFrom(
        window.strReportFile(), reportSettings(window), scan.brokenLinks, scan.lngNumBrokenLinks);
    window.intNumRepeatedInFileBrokenLinks = result.numRepeatedInFile;
    if (!reportWritten(window, result.error))
        return false;
    // A moment for the file to settle before the viewer opens it.
    window.interaction().Pause(1000);
    return true;
}

bool writeLinkToReport(frmMain &window)
{
    ScanState &scan = window.scan();
    const QString error = quillan::WriteReportByLinkTo(window.strReportFile(), reportSettings(window),
                                                       scan.brokenLinks, scan.lngNumBrokenLinks,
                                                       window.intNumRepeatedInFileBrokenLinks);
    return reportWritten(window, error);
}

} // namespace

void frmMain::cmdCheckLinks_Click()
{
    TidyExclusionBoxBeingEdited();
    txbTopFolder->setText(TrimSpaces(txbTopFolder->text()));
    setStatus(QString());
    frmView_->hide();
    scan_.EmptyBrokenLinks();
    scan_.blnListingFiles = false;
    scan_.blnCheckingLinks = true;
    frmView_->hide();
    frmView2_->hide();
    setStatus(CheckLinksStartText());

    blnStop = false;
    blnTopFolderValid = WalkTopFolder();
    scan_.blnCheckingLinks = false;
    if (blnQuitting_)
        return;

    if (blnStop)
        setStatus(CheckLinksStoppedText());
    else if (!blnTopFolderValid)
        setStatus(QString());

    // Each report is shown once written; when one cannot be written, the
    // user is told which.
    if (scan_.lngNumBrokenLinks >= 1) {
        CheckReportSteps steps;
        steps.reportPath = [this](const QString &name) {
            strReportFile_ = GetReportFilePath(name, GetProgramText(310));
            return strReportFile_;
        };
        bool firstReport = true;
        steps.reportDone = [this, &firstReport](const QString &, const QString &error) {
            if (!reportWritten(*this, error))
                return false;
            if (firstReport) {
                // A moment for the file to settle before the viewer opens it.
                interaction_.Pause(1000);
                ShowReportInView();
                firstReport = false;
            } else {
                ShowReportInView2();
            }
            return true;
        };
        intNumRepeatedInFileBrokenLinks = WriteCheckReports(scan_, reportSettings(*this), steps,
                                                            ThreadsForJobs(0));
    }
    walkLeftovers_ = WalkLeftovers();

    txbFileBeingScanned->clear();
    if (!blnStop && blnTopFolderValid)
        setStatus(CheckLinksSummaryText(scan_.lngNumBrokenLinks));
    blnStop = false;
    if (frmView2_->isVisible())
        frmView2_->ShowModeless();
}

void frmMain::WriteReportByLinkFrom()
{
    writeLinkFromReport(*this);
}

void frmMain::WriteReportByLinkTo()
{
    writeLinkToReport(*this);
}

} // namespace quillan
