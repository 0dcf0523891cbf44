#pragma once
// The main window: every control the user works with, the state all commands
// share, start-up and quit, and the commands themselves (one source file per
// group of commands: frmMain*.cpp).

#include "run/WalkDriver.h"
#include "scan/ScanState.h"
#include "text/ProgramText.h"

#include <QColor>
#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace quillan {

class ClickableLabel;
class Interaction;
class frmView;
class frmPopUp;
class frmSelectSubfolders;

class frmMain : public QWidget, private WalkHost
{
    Q_OBJECT

public:
    // `programFolder` holds the program text file and the help file.
    frmMain(Interaction &interaction, QString programFolder, QWidget *parent = nullptr);
    ~frmMain() override;

    // Start-up. False when the program text could not be loaded (the user
    // has been told); the program then ends.
    bool Form_Load();

    // --- Controls -----------------------------------------------------------
    QLineEdit *txbTopFolder = nullptr;
    QPushButton *cmdTopFolder = nullptr;
    QPlainTextEdit *txbExcludedSubfolders = nullptr;
    QPushButton *cmdSelectSubfolders = nullptr;
    QLabel *lblNumExcludedTopSubfolders = nullptr;
    QLabel *lblExcludeFilepathsContaining = nullptr;
    QLineEdit *txbExcludedFilepaths = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *txbExcludedLinks = nullptr;
    QCheckBox *chkIncludePHPfiles = nullptr;
    QCheckBox *chkShowRepeatedLinks = nullptr;
    QCheckBox *chkTopFolderOnly = nullptr;
    // The way pages are read; anchors only with the browser's reading.
    QCheckBox *chkReadAsBrowser = nullptr;
    QCheckBox *chkCheckAnchors = nullptr;
    QPushButton *cmdListFiles = nullptr;
    QPushButton *cmdCheckLinks = nullptr;
    QPushButton *cmdStop = nullptr;
    QLabel *lblScanningFile = nullptr;
    QLineEdit *txbFileBeingScanned = nullptr;
    QLabel *lblTotalNumFilesOrBrokenLinks = nullptr;
    QPushButton *cmdSettings = nullptr;
    QComboBox *cboSettings = nullptr;
    QPushButton *cmdClear = nullptr;
    QComboBox *cboClear = nullptr;
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdQuit = nullptr;
    QLabel *lblUserManual = nullptr;
    ClickableLabel *lblUserManualURL = nullptr;
    ClickableLabel *lblVelquorSystems = nullptr;

    // The viewer windows and the pop-up, owned here.
    frmView *view() const { return frmView_; }
    frmView *view2() const { return frmView2_; }
    frmPopUp *popUp() const { return frmPopUp_; }
    frmSelectSubfolders *selectSubfolders();

    // --- Public state ---------------------------------------------------------
    bool blnStartupCompleted = false;
    bool blnStop = false;
    qint32 lngMaxNumFiles = 50000;
    qint32 lngMaxNumLinks = 50000;
    QString strProgramTextFile;
    QString strCheckableFileTypes;
    // Repeated-in-file broken links of the last check (set by the link-from
    // report, read by both reports' closing line).
    qint64 intNumRepeatedInFileBrokenLinks = 0;

    // The scan's lists, counters, exclusions and limit flags.
    ScanState &scan() { return scan_; }
    const ScanState &scan() const { return scan_; }

    // Program text N (see the program text file).
    QString GetProgramText(int n) const { return programText_.GetProgramText(n); }
    QString programFolder() const { return programFolder_; }
    QString strReportFile() const { return strReportFile_; }
    QString strDefaultSettingsFile() const { return strDefaultSettingsFile_; }

    // How often a walk lets window events run, in milliseconds (0: at every
    // yield point, as the tests want).
    void setEventInterval(int milliseconds) { eventIntervalMs_ = milliseconds; }

    // True once Quit has run: the program is ending.
    bool isQuitting() const { return blnQuitting_; }

    // --- Shared procedures -------------------------------------------------------
    void EnableControls(bool enable);
    void FocusNextButton();
    static void SetFormBackColor(QWidget *window, const QColor &colour);

    // --- Event handlers -------------------------------------------------------
    void cmdQuit_Click();
    void cmdStop_Click();
    void chkIncludePHPfiles_Click();
    void chkShowRepeatedLinks_Click();
    void chkTopFolderOnly_Click();
    // The reading the two boxes ask for: 0 classic, 1 as a browser, 2 with
    // anchors too; and the boxes set from such a value.
    int BrowserReadingValue() const;
    void SetBrowserReading(int value);

    // List files and the walk driver (frmMainListFiles.cpp).
    void cmdListFiles_Click();
    bool WalkTopFolder();

    // Check links and its reports (frmMainCheckLinks.cpp).
    void cmdCheckLinks_Click();
    void WriteReportByLinkFrom();
    void WriteReportByLinkTo();

    // Viewers (frmMainViews.cpp).
    void ShowReportInView();
    void ShowReportInView2();

    // Top folder, clearing and exclusion boxes (frmMainTopFolder.cpp).
    void cmdTopFolder_Click();
    void cmdClear_Click();
    void cboClear_Click();
    void ResetSettingsFields();
    void ClearExcludedSubfolders();
    void ClearFilepathExclusions();
    void ClearLinkExclusions();
    void txbExcludedFilepaths_LostFocus();
    void txbExcludedLinks_LostFocus();
    // Tidies the exclusion box that has the focus, as leaving it would. Every
    // command that reads the boxes calls it first: a command started without
    // the focus leaving the box (assistive technology's press action, a
    // list's menu) reads what a click on its button would have left.
    void TidyExclusionBoxBeingEdited();

    // Settings (frmMainSettings.cpp).
    void InitialiseSettings();
    void cmdSettings_Click();
    void cboSettings_Click();
    void SaveSettings(QString strFile, bool blnConfirm);
    void LoadSettings(QString strFile);

    // Excluded top subfolders (frmMainSubfolders.cpp).
    void cmdSelectSubfolders_Click();
    void ShowNumExcludedSubfolders();

    // Help and web links (frmMainHelp.cpp).
    void cmdHelp_Click();
    void lblUserManualURL_Click();
    void lblVelquorSystems_Click();
    void OpenWebLink(const QString &strTarget);

    // The seam to dialogs and the desktop.
    Interaction &interaction() const { return interaction_; }

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // WalkHost: how the walk reaches this window.
    void Yield() override;
    bool StopRequested() const override;
    void ShowFileBeingScanned(QStringView relativePath) override;
    void ShowStatus(const QString &text) override;

    void createControls();
    // Places the controls by their design and their texts' needs at the
    // present font, and widens the window to hold them (frmMainLayout.cpp).
    void ArrangeControls();
    // The window's height by its rule: it ends a margin below its last row,
    // whatever its frame (frmMainLayout.cpp).
    void applyHeightRule();
    // Enables the subfolder button, and with a top folder the subfolder box,
    // exactly when the top folder has subfolders; returns their number (0
    // without a top folder, -1 for an unreadable one).
    qint32 EnableSubfolderControls();
    void connectControls();
    void flushPendingFileBeingScanned();
    ScanOptions currentScanOptions() const;
    void setStatus(const QString &text);

    Interaction &interaction_;
    QString programFolder_;
    ProgramTextTable programText_;
    ScanState scan_;
    // The last walk's tables, freed while its reports are written.
    WalkLeftovers walkLeftovers_;
    frmView *frmView_ = nullptr;
    frmView *frmView2_ = nullptr;
    frmPopUp *frmPopUp_ = nullptr;
    QPointer<frmSelectSubfolders> frmSelectSubfolders_;

    // Private state.
    bool blnTopFolderValid = false;
    QString strReportFile_;
    QString strDefaultSettingsFile_;
    QString strLastSettingsFile_;
    bool blnQuitting_ = false;
    bool arranging_ = false;
    // Tidies `box` when it is an exclusion box changed since its last tidy.
    void tidyExclusionBox(const QObject *box);
    // What each exclusion box showed after it was last tidied.
    QString tidyFilepathsText_;
    QString tidyLinksText_;

    int eventIntervalMs_ = 15;
    QElapsedTimer sinceEvents_;
    QString pendingFileBeingScanned_;
    bool fileBeingScannedPending_ = false;
};

} // namespace quillan
