// The settings controls' start-up state and the settings files.

#include "main/frmMain.h"
#include "settings/SettingsFile.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"
#include "util/StrProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/Interaction.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <array>

namespace quillan {

namespace {

enum SettingsAction { kSaveForNextRun, kSaveToFile, kSaveInBothWays, kLoadFromFile };

const QString kSaveSettingsTitle = QStringLiteral("Save settings");

// The confirmation after a save: where and how long, in twips and ms.
constexpr int kConfirmWidth = 2000;
constexpr int kConfirmHeight = 380;
constexpr int kConfirmInterval = 2000;
constexpr int kConfirmBelowClear = 850;
constexpr int kConfirmRightOfClear = 150;

// Dialog flags: hide the read-only box, the path must exist, the file must
// exist.
constexpr int kHideReadOnly = 4;
constexpr int kPathMustExist = 2048;
constexpr int kFileMustExist = 4096;

// The seven values as the controls hold them now.
SettingsValues currentSettings(const frmMain &window)
{
    SettingsValues values;
    values.topFolder = window.txbTopFolder->text();
    values.excludedSubfolders = window.txbExcludedSubfolders->toPlainText();
    values.excludedFilepaths = window.txbExcludedFilepaths->text();
    values.excludedLinks = window.txbExcludedLinks->text();
    values.topFolderOnly = CheckBoxValue(window.chkTopFolderOnly);
    values.showRepeatedLinks = CheckBoxValue(window.chkShowRepeatedLinks);
    values.includePhpFiles = CheckBoxValue(window.chkIncludePHPfiles);
    return values;
}

// Asks for a settings file; the dialog opens in the folder of the file chosen
// last. "" when cancelled.
QString chooseSettingsFile(frmMain &window, QString &lastSettingsFile,
                           Interaction::FileDialogKind kind, const QString &title, int flags)
{
    Interaction::FileDialogRequest request;
    request.kind = kind;
    request.title = title;
    request.filter = QStringLiteral("Settings file (*.usr) | *.usr");
    request.flags = flags;
    if (!lastSettingsFile.isEmpty())
        request.startFolder = GetFolderOfPath(lastSettingsFile);
    QString chosen = window.interaction().ChooseFile(&window, request);
    if (!chosen.isEmpty())
        lastSettingsFile = chosen;
    return chosen;
}

// Takes the values in file order and stops where the file stopped giving
// them: what was read stays, the rest keeps its present state.
void applySettingsFile(frmMain &window, const SettingsFileContent &content)
{
    const QStringList &texts = content.texts;
    if (texts.isEmpty())
        return;
    QString topFolder = TrimSpaces(texts[0]);
    if (FolderExists(topFolder)) {
        // A hand-edited file may lack the final separator, which every
        // relative path and subfolder exclusion counts on.
        if (!topFolder.endsWith(PathSeparator()))
            topFolder += PathSeparator();
        window.txbTopFolder->setText(topFolder);
    } else {
        window.txbTopFolder->clear();
    }

    if (texts.size() < 2)
        return;
    ScanState &scan = window.scan();
    if (window.txbTopFolder->text().isEmpty()) {
        // Subfolders of a folder that is gone mean nothing.
        window.txbExcludedSubfolders->clear();
        scan.intNumExcludedSubfolders = 0;
    } else {
        window.txbExcludedSubfolders->setPlainText(texts[1]);
        scan.intNumExcludedSubfolders = SplitLines(texts[1], scan.strExcludedSubfolders, -1, true);
        if (scan.intNumExcludedSubfolders == 0)
            window.txbExcludedSubfolders->clear();
    }

    if (texts.size() < 3)
        return;
    window.txbExcludedFilepaths->setText(TrimSpaces(texts[2]));
    if (texts.size() < 4)
        return;
    window.txbExcludedLinks->setText(TrimSpaces(texts[3]));

    const std::array<QCheckBox *, 3> options = {window.chkTopFolderOnly, window.chkShowRepeatedLinks,
                                                window.chkIncludePHPfiles};
    for (qsizetype i = 0; i < content.states.size(); ++i)
        SetCheckBoxValue(options[i], content.states[i]);
}

} // namespace

void frmMain::InitialiseSettings()
{
    SetCheckBoxValue(chkIncludePHPfiles, 0);
    SetCheckBoxValue(chkShowRepeatedLinks, 0);
    SetCheckBoxValue(chkTopFolderOnly, 0);
    lngMaxNumFiles = 50000;
    lngMaxNumLinks = 50000;
    strLastSettingsFile_.clear();
    strDefaultSettingsFile_ = GetSettingsFilePath(QStringLiteral("nlq.usr"), GetProgramText(310));
    scan_.intNumExcludedSubfolders = 0;
    lblNumExcludedTopSubfolders->setText(GetProgramText(25));
    scan_.strExcludedSubfolders = QStringList{QString()};
    scan_.strExcludedFilepaths = QStringList{QString()};
    scan_.strExcludedLinks = QStringList{QString()};
    scan_.EmptyBrokenLinks();

    cboSettings->clear();
    cboSettings->addItems({QStringLiteral("Save for next run"), QStringLiteral("Save to file"),
                           QStringLiteral("Save in both ways"), QStringLiteral("Load from file")});
    cboSettings->setCurrentIndex(kSaveForNextRun);
    cboClear->clear();
    cboClear->addItems({QStringLiteral("Top folder"), QStringLiteral("Excluded top subfolders"),
                        QStringLiteral("Filepath exclusions"), QStringLiteral("Link exclusions"),
                        QStringLiteral("All of the above")});
    cboClear->setCurrentIndex(-1);
    setStatus(QString());

    scan_.blnListingFiles = false;
    scan_.blnCheckingLinks = false;
}

void frmMain::cmdSettings_Click()
{
    switch (cboSettings->currentIndex()) {
    case kSaveForNextRun:
        SaveSettings(strDefaultSettingsFile_, true);
        break;
    case kSaveToFile:
        SaveSettings(QString(), true);
        break;
    case kSaveInBothWays:
        SaveSettings(strDefaultSettingsFile_, false);
        // Settings the format refused once would be refused again.
        if (FirstUnstorableText(currentSettings(*this)) < 0)
            SaveSettings(QString(), true);
        break;
    case kLoadFromFile:
        LoadSettings(QString());
        break;
    default:
        break;
    }
}

void frmMain::cboSettings_Click()
{
    // Filling the list at start-up selects its first entry; that must not save.
    if (!blnStartupCompleted)
        return;
    cmdSettings_Click();
    FocusNextButton();
}

void frmMain::SaveSettings(QString strFile, bool blnConfirm)
{
    const SettingsValues values = currentSettings(*this);
    // The format has no way to write a double quote inside a text; saving
    // such a text would give a file that loads back wrong.
    const int unstorable = FirstUnstorableText(values);
    if (unstorable >= 0) {
        const std::array<QString, kSettingsTextCount> boxNames = {
            QStringLiteral("Top folder"), QStringLiteral("Excluded top subfolders"),
            QStringLiteral("Exclude filepaths containing"),
            QStringLiteral("Exclude links containing")};
        interaction_.ShowMessageBox(
            this,
            QStringLiteral("The settings were not saved: the box '") + boxNames[unstorable]
                + QStringLiteral("' holds a double quote (\"), which a settings file cannot hold.")
                + kCrLf + QStringLiteral("Please remove it and save again."),
            kSaveSettingsTitle, Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
            Interaction::Answer::Ok);
        return;
    }

    if (strFile.isEmpty()) {
        strFile = chooseSettingsFile(*this, strLastSettingsFile_, Interaction::FileDialogKind::Save,
                                     QStringLiteral("Specify file for settings for index module"),
                                     kHideReadOnly + kPathMustExist);
        if (strFile.isEmpty())
            return;
    }

    const QString error = WriteSettingsFile(strFile, values);
    if (!error.isEmpty()) {
        interaction_.ShowMessageBox(
            this, QStringLiteral("Error when attempting to save settings: ") + error,
            kSaveSettingsTitle, Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
            Interaction::Answer::Ok);
        return;
    }

    if (blnConfirm)
        frmPopUp_->PopUp(GetProgramText(50), kConfirmWidth, kConfirmHeight, kConfirmInterval,
                         twips::Top(this) + twips::Top(cboClear) + kConfirmBelowClear,
                         twips::Left(this) + twips::Left(cboClear) + kConfirmRightOfClear);
    FocusNextButton();
}

void frmMain::LoadSettings(QString strFile)
{
    if (strFile.isEmpty())
        strFile = chooseSettingsFile(*this, strLastSettingsFile_, Interaction::FileDialogKind::Open,
                                     QStringLiteral("Specify index module settings file"),
                                     kHideReadOnly + kPathMustExist + kFileMustExist);

    // Even a cancelled load starts from empty exclusion boxes.
    ResetSettingsFields();

    if (!strFile.isEmpty()) {
        applySettingsFile(*this, ReadSettingsFile(strFile));
        if (blnStartupCompleted)
            ShowNumExcludedSubfolders();
    }

    if (isVisible())
        FocusNextButton();
}

} // namespace quillan
