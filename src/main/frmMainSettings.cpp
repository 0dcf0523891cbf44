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
#include <utility>

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
    values.browserReading = window.BrowserReadingValue();
    return values;
}

// Why the settings were not saved, and what the user can do about the text
// `index` (file order) that holds a double quote. The top folder and the
// subfolder box are not typed into: their remedy is another choice.
QString UnstorableTextMessage(const SettingsValues &values, int index)
{
    const QString quote = QStringLiteral("a double quote (\"), which a settings file cannot hold.");
    QString what;
    QString remedy;
    switch (index) {
    case 0:
        what = QStringLiteral("the path of the top folder holds ");
        remedy = QStringLiteral("Please choose another top folder with 'Top folder', or rename the "
                                "folder, and save again.");
        break;
    case 1: {
        QString name;
        for (const QString &line : values.excludedSubfolders.split(u'\n')) {
            if (line.contains(u'"')) {
                name = QString(line).remove(u'\r');
                break;
            }
        }
        what = QStringLiteral("the name of the excluded top subfolder '") + name
               + QStringLiteral("' holds ");
        remedy = QStringLiteral("Please untick it in 'Exclude top subfolders', or rename the "
                                "folder, and save again.");
        break;
    }
    default:
        what = QStringLiteral("the box '")
               + (index == 2 ? QStringLiteral("Exclude filepaths containing")
                             : QStringLiteral("Exclude links containing"))
               + QStringLiteral("' holds ");
        remedy = QStringLiteral("Please remove the double quote from the box and save again.");
        break;
    }
    return QStringLiteral("The settings were not saved: ") + what + quote + kCrLf + remedy;
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

// Loads the file's values over what the controls hold now.
void applySettingsFile(frmMain &window, const SettingsFileContent &content)
{
    ScanState &scan = window.scan();
    HeldSettings held{currentSettings(window), scan.strExcludedSubfolders,
                      scan.intNumExcludedSubfolders};
    ApplySettingsFile(content, held);

    const SettingsValues &values = held.values;
    // Only what the file changed is set again.
    const std::array<std::pair<QLineEdit *, const QString &>, 3> boxes = {{
        {window.txbTopFolder, values.topFolder},
        {window.txbExcludedFilepaths, values.excludedFilepaths},
        {window.txbExcludedLinks, values.excludedLinks}}};
    for (const auto &[box, text] : boxes) {
        if (box->text() != text)
            box->setText(text);
    }
    if (window.txbExcludedSubfolders->toPlainText() != values.excludedSubfolders)
        window.txbExcludedSubfolders->setPlainText(values.excludedSubfolders);
    scan.strExcludedSubfolders = held.excludedSubfolders;
    scan.intNumExcludedSubfolders = held.numExcludedSubfolders;
    const std::array<std::pair<QCheckBox *, int>, 3> options = {{
        {window.chkTopFolderOnly, values.topFolderOnly},
        {window.chkShowRepeatedLinks, values.showRepeatedLinks},
        {window.chkIncludePHPfiles, values.includePhpFiles}}};
    for (const auto &[box, value] : options) {
        if (CheckBoxValue(box) != value)
            SetCheckBoxValue(box, value);
    }
    window.SetBrowserReading(values.browserReading);
}

} // namespace

void frmMain::InitialiseSettings()
{
    SetCheckBoxValue(chkIncludePHPfiles, 0);
    SetCheckBoxValue(chkShowRepeatedLinks, 0);
    SetCheckBoxValue(chkTopFolderOnly, 0);
    SetBrowserReading(0);
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
    TidyExclusionBoxBeingEdited();
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
        interaction_.ShowMessageBox(this, UnstorableTextMessage(values, unstorable),
                                    kSaveSettingsTitle, Interaction::Icon::Exclamation,
                                    Interaction::Buttons::Ok, Interaction::Answer::Ok);
        return;
    }

    if (strFile.isEmpty()) {
        strFile = chooseSettingsFile(*this, strLastSettingsFile_, Interaction::FileDialogKind::Save,
                                     QStringLiteral("Specify file for settings for index module"),
                                     Interaction::kHideReadOnly + Interaction::kPathMustExist);
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
                                     Interaction::kHideReadOnly + Interaction::kPathMustExist
                                         + Interaction::kFileMustExist);

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
