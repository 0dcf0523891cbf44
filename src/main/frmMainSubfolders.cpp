// Excluded top subfolders: the selection window and the main window's label.

#include "main/frmMain.h"
#include "util/DiskProc.h"
#include "util/StrProc.h"
#include "windows/Interaction.h"
#include "windows/Twips.h"
#include "windows/frmSelectSubfolders.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>

namespace quillan {

namespace {

// Places the selection window with its top left corner near the button and
// its right and bottom edges 150 and 200 twips inside the main window's.
void placeSelectionWindow(QWidget *window, const QWidget *main, const QWidget *button)
{
    const int left = twips::Left(main) + twips::Left(button) + 50;
    const int top = twips::Top(main) + twips::Top(button) - 150;
    const int width = twips::Width(main) + twips::Left(main) - left - 150;
    const int height = twips::Height(main) + twips::Top(main) - top - 200;
    twips::Move(window, left, top);
    twips::Resize(window, width, height);
}

} // namespace

void frmMain::cmdSelectSubfolders_Click()
{
    if (txbTopFolder->text().isEmpty()) {
        interaction_.ShowMessageBox(this, GetProgramText(23), cmdSelectSubfolders->text(),
                                    Interaction::Icon::None, Interaction::Buttons::Ok,
                                    Interaction::Answer::Ok);
        return;
    }

    // The window deletes itself when closed from its title bar; the guard
    // tells whether it is still there to be read.
    QPointer<frmSelectSubfolders> selection = selectSubfolders();
    selection->blnFolderSelectionAccepted = false;
    selection->strCaption = GetProgramText(24);
    selection->strTopFolder = txbTopFolder->text();
    selection->intMaxNumCheckboxes = 13;
    selection->blnOmitTotalFilesize = true;
    selection->setWindowIcon(windowIcon());
    placeSelectionWindow(selection, this, cmdSelectSubfolders);

    selection->strFoldersPassedToSelectFoldersForm =
        scan_.intNumExcludedSubfolders != 0
            ? JoinList(scan_.strExcludedSubfolders, kCrLf, false, 0, scan_.intNumExcludedSubfolders - 1)
            : QString();

    selection->ShowModal();

    if (selection && selection->blnFolderSelectionAccepted) {
        QString names = selection->strFoldersReturnedFromSelectFoldersForm;
        TrimTrailingControlChars(names);
        txbExcludedSubfolders->setPlainText(names);
        scan_.intNumExcludedSubfolders = SplitLines(names, scan_.strExcludedSubfolders, 0, true);
        ShowNumExcludedSubfolders();
        setStatus(QString());
    }
    FocusNextButton();
}

void frmMain::ShowNumExcludedSubfolders()
{
    cmdSelectSubfolders->setToolTip(GetProgramText(28));
    const qint32 numSubfolders = EnableSubfolderControls();
    if (txbTopFolder->text().isEmpty()) {
        lblNumExcludedTopSubfolders->hide();
        return;
    }

    lblNumExcludedTopSubfolders->show();
    if (numSubfolders <= 0) {
        lblNumExcludedTopSubfolders->setText(GetProgramText(29));
        return;
    }

    const int excluded = scan_.intNumExcludedSubfolders;
    if (excluded == 0)
        lblNumExcludedTopSubfolders->setText(GetProgramText(25));
    else if (excluded == 1)
        lblNumExcludedTopSubfolders->setText(GetProgramText(26));
    else
        lblNumExcludedTopSubfolders->setText(NumberToWords(excluded, 0) + u' ' + GetProgramText(27));
    setStatus(QString());
}

qint32 frmMain::EnableSubfolderControls()
{
    if (txbTopFolder->text().isEmpty()) {
        cmdSelectSubfolders->setEnabled(false);
        return 0;
    }
    // An unreadable top folder counts -1 and disables them as well: the
    // selection window could only be cancelled.
    const qint32 numSubfolders = CountSubfolders(txbTopFolder->text());
    cmdSelectSubfolders->setEnabled(numSubfolders > 0);
    txbExcludedSubfolders->setEnabled(numSubfolders > 0);
    return numSubfolders;
}

} // namespace quillan
