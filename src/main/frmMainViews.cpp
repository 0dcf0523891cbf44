// Showing the list of files and the reports in the viewer windows.

#include "main/frmMain.h"
#include "windows/Twips.h"
#include "windows/frmView.h"

namespace quillan {

void frmMain::ShowReportInView()
{
    twips::Move(this, 100, (twips::ScreenHeight() - twips::Height(this)) / 2);
    frmView_->PrepareForOpening(windowIcon());
    frmView2_->hide();

    // A list of files stands beside the main window; the link-from report
    // lies over it, a little lower, with the link-to report to its right.
    const int width = twips::Width(this);
    const int height = twips::Height(this);
    if (scan_.blnListingFiles)
        frmView_->OpenFile(strReportFile_, QStringLiteral("Files with links to be checked"), false,
                           twips::Left(this) + width, twips::Top(this), width, height);
    else
        frmView_->OpenFile(strReportFile_, QStringLiteral("Broken links sorted by link-from"), false,
                           twips::Left(this), twips::Top(this) + 350, width, height);
}

void frmMain::ShowReportInView2()
{
    frmView2_->PrepareForOpening(windowIcon());
    const int width = twips::Width(this);
    frmView2_->OpenFile(strReportFile_, QStringLiteral("Broken links sorted by link-to"), false,
                        twips::Left(this) + width, twips::Top(this) + 350, width,
                        twips::Height(this));
}

} // namespace quillan
