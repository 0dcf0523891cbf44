// Choosing the top folder, clearing settings and tidying the exclusion boxes.

#include "main/frmMain.h"
#include "settings/ExclusionLists.h"
#include "settings/TargetFileTypes.h"
#include "util/FileProc.h"
#include "windows/Interaction.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan {

void frmMain::cmdTopFolder_Click()
{
    TidyExclusionBoxBeingEdited();
    QString path = interaction_.BrowseForFolder(this, QStringLiteral("Specify top folder"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(PathSeparator()))
        path += PathSeparator();
    txbTopFolder->setText(path);

    if (!txbExcludedSubfolders->toPlainText().isEmpty() || !txbExcludedLinks->text().isEmpty()
        || !txbExcludedFilepaths->text().isEmpty()) {
        const auto answer = interaction_.ShowMessageBox(
            this,
            QStringLiteral("Keep excluded subfolders, excluded filepaths and excluded links?"),
            cmdTopFolder->text(), Interaction::Icon::None, Interaction::Buttons::YesNo,
            Interaction::Answer::Yes);
        if (answer == Interaction::Answer::No) {
            ClearExcludedSubfolders();
            ClearFilepathExclusions();
            ClearLinkExclusions();
            ShowNumExcludedSubfolders();
        }
    }
    ShowNumExcludedSubfolders();
}

void frmMain::cboClear_Click()
{
    if (!blnStartupCompleted)
        return;
    const auto answer = interaction_.ShowMessageBox(
        this, QStringLiteral("Are you sure?"), QStringLiteral("Clear"), Interaction::Icon::None,
        Interaction::Buttons::YesNo, Interaction::Answer::Yes);
    if (answer == Interaction::Answer::Yes)
        cmdClear_Click();
    FocusNextButton();
}

void frmMain::cmdClear_Click()
{
    switch (cboClear->currentIndex()) {
    case 0:
        txbTopFolder->clear();
        ClearExcludedSubfolders();
        setStatus(QString());
        break;
    case 1:
        ClearExcludedSubfolders();
        break;
    case 2:
        ClearFilepathExclusions();
        break;
    case 3:
        ClearLinkExclusions();
        break;
    case 4: {
        const auto answer = interaction_.ShowMessageBox(
            this,
            QStringLiteral("Are you sure you want to clear all the settings?\r\nThis cannot be undone."),
            QStringLiteral("Clear all"), Interaction::Icon::None, Interaction::Buttons::YesNoCancel,
            Interaction::Answer::Cancel);
        if (answer != Interaction::Answer::Yes) {
            FocusNextButton();
            return;
        }
        txbTopFolder->clear();
        ClearExcludedSubfolders();
        ClearFilepathExclusions();
        ClearLinkExclusions();
        setStatus(QString());
        break;
    }
    default:
        // Nothing picked: nothing to clear, but the label and the focus are
        // brought up to date all the same.
        break;
    }
    ShowNumExcludedSubfolders();
    FocusNextButton();
}

void frmMain::ResetSettingsFields()
{
    txbFileBeingScanned->clear();
    txbExcludedFilepaths->clear();
    txbExcludedSubfolders->clear();
    txbExcludedLinks->clear();
    strCheckableFileTypes = DefaultCheckableFileTypes();
    setStatus(QString());
}

void frmMain::ClearExcludedSubfolders()
{
    txbExcludedSubfolders->clear();
    scan_.intNumExcludedSubfolders = 0;
    setStatus(QString());
    lblNumExcludedTopSubfolders->setText(GetProgramText(25));
}

void frmMain::ClearFilepathExclusions()
{
    txbExcludedFilepaths->clear();
    setStatus(QString());
}

void frmMain::ClearLinkExclusions()
{
    txbExcludedLinks->clear();
    setStatus(QString());
}

void frmMain::txbExcludedFilepaths_LostFocus()
{
    tidyFilepathsText_ = TidyExcludedFilepathsText(txbExcludedFilepaths->text());
    if (tidyFilepathsText_ != txbExcludedFilepaths->text())
        txbExcludedFilepaths->setText(tidyFilepathsText_);
}

void frmMain::txbExcludedLinks_LostFocus()
{
    tidyLinksText_ = TidyExcludedLinksText(txbExcludedLinks->text());
    if (tidyLinksText_ != txbExcludedLinks->text())
        txbExcludedLinks->setText(tidyLinksText_);
}

void frmMain::TidyExclusionBoxBeingEdited()
{
    // The window's focus, not the application's: while a list's menu is
    // open or another window is active, the box still holds it.
    tidyExclusionBox(focusWidget());
}

void frmMain::tidyExclusionBox(const QObject *box)
{
    // A box already tidy is left as it is: tidying it again would drop the
    // empty entry that the first tidy kept at its front.
    if (box == txbExcludedFilepaths && txbExcludedFilepaths->text() != tidyFilepathsText_)
        txbExcludedFilepaths_LostFocus();
    else if (box == txbExcludedLinks && txbExcludedLinks->text() != tidyLinksText_)
        txbExcludedLinks_LostFocus();
}

} // namespace quillan
