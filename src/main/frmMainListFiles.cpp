// List files and the walk driver shared with Check links.

#include "run/ListFilesText.h"
#include "run/WalkDriver.h"
#include "main/frmMain.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"
#include "util/StrProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/Interaction.h"
#include "windows/frmView.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillan {

void frmMain::cmdListFiles_Click()
{
    TidyExclusionBoxBeingEdited();
    txbTopFolder->setText(TrimSpaces(txbTopFolder->text()));
    if (FileExists(strReportFile_))
        QFile::remove(strReportFile_);
    setStatus(QString());
    frmView_->hide();

    scan_.blnListingFiles = true;
    scan_.blnCheckingLinks = false;
    blnStop = false;
    blnTopFolderValid = WalkTopFolder();
    if (blnQuitting_)
        return;

    const qint32 numFiles = scan_.lngNumListedFiles;
    setStatus(ListingStatusText(blnStop, blnTopFolderValid, numFiles,
                                numFiles >= 1 ? scan_.strListedFiles[1] : QString(),
                                scan_.blnMaxNumFilesReached, lngMaxNumFiles));

    if (blnTopFolderValid && numFiles >= 1) {
        strReportFile_ = GetReportFilePath(QStringLiteral("files.txt"), GetProgramText(310));
        const QString line2 = ListingLine2(numFiles, blnStop, CheckBoxValue(chkTopFolderOnly) == 1);
        const QString error = WriteListOfFiles(scan_, strReportFile_, txbTopFolder->text(), line2);
        if (!error.isEmpty()) {
            interaction_.ShowMessageBox(
                this, QStringLiteral("Unable to write the list of files to ") + strReportFile_,
                cmdListFiles->text(), Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
                Interaction::Answer::Ok);
        } else if (blnStop) {
            const auto answer = interaction_.ShowMessageBox(
                this,
                QStringLiteral("The listing was stopped.  Do you wish to display the incomplete list?"),
                cmdListFiles->text(), Interaction::Icon::None, Interaction::Buttons::YesNo,
                Interaction::Answer::Yes);
            if (answer == Interaction::Answer::Yes)
                ShowReportInView();
        } else {
            ShowReportInView();
        }
    }

    scan_.blnListingFiles = false;
    scan_.EmptyListedFiles();
    FocusNextButton();
}

bool frmMain::WalkTopFolder()
{
    txbTopFolder->setText(TrimSpaces(txbTopFolder->text()));
    if (txbTopFolder->text().isEmpty()) {
        interaction_.ShowMessageBox(this, GetProgramText(35), cmdCheckLinks->text(),
                                    Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
                                    Interaction::Answer::Ok);
        return false;
    }
    if (!FolderExists(txbTopFolder->text())) {
        interaction_.ShowMessageBox(this, GetProgramText(36), cmdCheckLinks->text(),
                                    Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
                                    Interaction::Answer::Ok);
        return false;
    }

    txbExcludedFilepaths->setText(TrimSpaces(txbExcludedFilepaths->text()));
    txbExcludedLinks->setText(TrimSpaces(txbExcludedLinks->text()));
    PrepareExclusions(scan_, txbExcludedFilepaths->text(), txbExcludedLinks->text());

    // Stop takes the focus before the rest is disabled: a key pressed during
    // the walk reaches Stop, never a control that rests until it ends.
    cmdStop->show();
    cmdStop->setEnabled(true);
    cmdStop->setFocus();
    EnableControls(false);
    blnStop = false;
    repaint();

    sinceEvents_.invalidate();
    walkLeftovers_ = RunWalk(scan_, currentScanOptions(), *this);
    flushPendingFileBeingScanned();

    if (blnQuitting_)
        return true;
    EnableControls(true);
    // Enabling every control also enabled the subfolder button, which has
    // nothing to offer in a top folder without subfolders; the status line
    // keeps what the walk left there.
    EnableSubfolderControls();
    cmdStop->hide();
    FocusNextButton();
    repaint();
    return true;
}

} // namespace quillan
