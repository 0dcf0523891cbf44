// The settings controls' start-up state and the settings files.

#include "main/frmMain.h"
#include "util/DataFolder.h"
#include "windows/CheckBoxValue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace quillan {

void frmMain::InitialiseSettings()
{
    SetCheckBoxValue(chkIncludePHPfiles, 0);
    SetCheckBoxValue(chkShowRepeatedLinks, 0);
    SetCheckBoxValue(chkTopFolderOnly, 0);
    lngMaxNumFiles = 50000;
    lngMaxNumLinks = 50000;
    strLastSettingsFile_.clear();
    strDefaultSettingsFile_ = GetReportFilePath(QStringLiteral("nlq.usr"), GetProgramText(310));
    scan_.intNumExcludedSubfolders = 0;
    lblNumExcludedTopSubfolders->setText(GetProgramText(25));
    scan_.strExcludedSubfolders = QStringList{QString()};
    scan_.strExcludedFilepaths = QStringList{QString()};
    scan_.strExcludedLinks = QStringList{QString()};
    scan_.EmptyBrokenLinks();

    cboSettings->clear();
    cboSettings->addItems({QStringLiteral("Save for next run"), QStringLiteral("Save to file"),
                           QStringLiteral("Save in both ways"), QStringLiteral("Load from file")});
    cboSettings->setCurrentIndex(0);
    cboClear->clear();
    cboClear->addItems({QStringLiteral("Top folder"), QStringLiteral("Excluded top subfolders"),
                        QStringLiteral("Filepath exclusions"), QStringLiteral("Link exclusions"),
                        QStringLiteral("All of the above")});
    cboClear->setCurrentIndex(-1);
    setStatus(QString());

    scan_.blnListingFiles = false;
    scan_.blnCheckingLinks = false;
}

void frmMain::cmdSettings_Click() {}

void frmMain::cboSettings_Click() {}

void frmMain::SaveSettings(QString, bool) {}

void frmMain::LoadSettings(QString) {}

} // namespace quillan
