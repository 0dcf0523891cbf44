// Showing the list of files and the reports in the viewer windows.

#include "main/frmMain.h"
#include "windows/Twips.h"
#include "windows/frmView.h"

namespace quillan {

namespace {

// Brings a minimised viewer back, hides it and gives it the main window's
// icon, ready to be placed and shown again.
void prepareViewer(frmView *viewer, const QWidget *main)
{
    if (viewer->isMinimized())
        viewer->showNormal();
    viewer->hide();
    viewer->setWindowIcon(main->windowIcon());
}

void placeAndShow(frmView *viewer, int left, int top, const QWidget *main, const QString &file,
                  const QString &caption)
{
    const auto place = [=] {
        twips::Move(viewer, left, top);
        twips::Resize(viewer, twips::Width(main), twips::Height(main));
    };
    place();
    viewer->strFilename = file;
    viewer->setWindowTitle(caption);
    viewer->blnCopyToClipboardInvisible = false;
    viewer->setTextFontSize(10);
    viewer->blnFileDisplayed = false;
    viewer->ShowModeless();
    // Sizes count the window frame, which is known once the window is shown.
    if (viewer->isVisible())
        place();
}

} // namespace

void frmMain::ShowReportInView()
{
    twips::Move(this, 100, (twips::ScreenHeight() - twips::Height(this)) / 2);
    if (frmView_->isMinimized())
        frmView_->showNormal();
    frmView_->hide();
    frmView2_->hide();
    frmView_->setWindowIcon(windowIcon());

    const int mainLeft = twips::Left(this);
    const int mainTop = twips::Top(this);
    if (scan_.blnListingFiles)
        placeAndShow(frmView_, mainLeft + twips::Width(this), mainTop, this, strReportFile_,
                     QStringLiteral("Files with links to be checked"));
    else
        placeAndShow(frmView_, mainLeft, mainTop + 350, this, strReportFile_,
                     QStringLiteral("Broken links sorted by link-from"));
}

void frmMain::ShowReportInView2()
{
    prepareViewer(frmView2_, this);
    placeAndShow(frmView2_, twips::Left(this) + twips::Width(this), twips::Top(this) + 350, this,
                 strReportFile_, QStringLiteral("Broken links sorted by link-to"));
}

} // namespace quillan
