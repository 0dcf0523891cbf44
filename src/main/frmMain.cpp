#include "main/frmMain.h"

#include "util/FileProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/ClickableLabel.h"
#include "windows/EnterPresses.h"
#include "windows/Interaction.h"
#include "windows/ListWheel.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"
#include "windows/frmSelectSubfolders.h"
#include "windows/frmView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan {

namespace {

const QColor kMainBackColour(208, 208, 240);

QLabel *labelFor(QLabel *label, QWidget *buddy)
{
    label->setBuddy(buddy);
    return label;
}

// True when the focus leaves `box` for another control of the program (Tab,
// a click, a shortcut). Its own context menu and a switch to another window
// give the focus back to the box as it was, so these leave it alone.
bool focusMovesToAnotherControl(const QFocusEvent *event, const QObject *box)
{
    switch (event->reason()) {
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
    case Qt::ActiveWindowFocusReason:
        return false;
    default:
        break;
    }
    const QWidget *next = QApplication::focusWidget();
    return next != nullptr && next != box;
}

} // namespace

frmMain::frmMain(Interaction &interaction, QString programFolder, QWidget *parent)
    : QWidget(parent), interaction_(interaction), programFolder_(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillan"));
    createControls();
    connectControls();
    PressOnEnterInside(this);
    KeepWheelFromRunningEntries(cboSettings);
    KeepWheelFromRunningEntries(cboClear);
    frmView_ = new frmView(interaction_, programText_);
    frmView_->setObjectName(QStringLiteral("frmView"));
    frmView2_ = new frmView(interaction_, programText_);
    frmView2_->setObjectName(QStringLiteral("frmView2"));
    frmPopUp_ = new frmPopUp();
}

frmMain::~frmMain()
{
    delete frmView_;
    delete frmView2_;
    delete frmPopUp_;
    delete frmSelectSubfolders_.data();
}

frmSelectSubfolders *frmMain::selectSubfolders()
{
    if (!frmSelectSubfolders_)
        frmSelectSubfolders_ = new frmSelectSubfolders(interaction_, this);
    return frmSelectSubfolders_;
}

void frmMain::createControls()
{
    // Made in reading order, which is the Tab order; ArrangeControls places
    // them.
    cmdTopFolder = new QPushButton(QStringLiteral("Top folder"), this);
    txbTopFolder = new QLineEdit(this);
    txbTopFolder->setReadOnly(true);
    txbTopFolder->setToolTip(QStringLiteral("Click on 'Top folder' to specify a folder."));
    txbTopFolder->setAccessibleName(QStringLiteral("Top folder"));

    cmdSelectSubfolders = new QPushButton(QStringLiteral("Exclude top subfolders"), this);
    txbExcludedSubfolders = new QPlainTextEdit(this);
    txbExcludedSubfolders->setReadOnly(true);
    txbExcludedSubfolders->setLineWrapMode(QPlainTextEdit::NoWrap);
    txbExcludedSubfolders->setToolTip(QStringLiteral("These subfolders are excluded from the scan."));
    txbExcludedSubfolders->setAccessibleName(QStringLiteral("Excluded top subfolders"));
    lblNumExcludedTopSubfolders = new QLabel(QStringLiteral("Seventeen excluded."), this);
    // Two lines down to the next box: "The top folder has no subfolders."
    // does not fit on one.
    lblNumExcludedTopSubfolders->setWordWrap(true);
    lblNumExcludedTopSubfolders->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblExcludeFilepathsContaining = new QLabel(QStringLiteral("Exclude filepaths containing:"), this);
    txbExcludedFilepaths = new QLineEdit(this);
    labelFor(lblExcludeFilepathsContaining, txbExcludedFilepaths);

    Label1 = new QLabel(QStringLiteral("Exclude links containing:"), this);
    txbExcludedLinks = new QLineEdit(this);
    labelFor(Label1, txbExcludedLinks);

    chkIncludePHPfiles =
        new QCheckBox(QStringLiteral("Check links in PHP files as well as HTM files"), this);
    chkShowRepeatedLinks =
        new QCheckBox(QStringLiteral("Show repeated broken links in a file"), this);
    chkTopFolderOnly =
        new QCheckBox(QStringLiteral("Check links in files in top folder only"), this);
    chkReadAsBrowser = new QCheckBox(QStringLiteral("Read every link as a browser does"), this);
    chkCheckAnchors = new QCheckBox(QStringLiteral("Check #anchors too"), this);
    chkCheckAnchors->setEnabled(false);

    cmdListFiles = new QPushButton(QStringLiteral("List files"), this);
    cmdCheckLinks = new QPushButton(QStringLiteral("Check links"), this);
    cmdStop = new QPushButton(QStringLiteral("Stop"), this);
    cmdHelp = new QPushButton(QStringLiteral("Help"), this);
    cmdQuit = new QPushButton(QStringLiteral("Quit"), this);

    lblScanningFile = new QLabel(QStringLiteral("Scanning file:"), this);
    txbFileBeingScanned = new QLineEdit(this);
    txbFileBeingScanned->setReadOnly(true);
    labelFor(lblScanningFile, txbFileBeingScanned);
    lblTotalNumFilesOrBrokenLinks =
        new QLabel(QStringLiteral("Number of broken from/to links found: 99999"), this);
    // A screen reader reads a label by its text, and announces each new text
    // as it changes; the role word goes into the description.
    lblTotalNumFilesOrBrokenLinks->setAccessibleDescription(QStringLiteral("Status"));

    cmdSettings = new QPushButton(QStringLiteral("Settings -->"), this);
    cboSettings = new QComboBox(this);
    cboSettings->setAccessibleName(QStringLiteral("Settings actions"));
    cmdClear = new QPushButton(QStringLiteral("Clear -->"), this);
    cboClear = new QComboBox(this);
    cboClear->setAccessibleName(QStringLiteral("Clear actions"));

    lblUserManual = new QLabel(QStringLiteral("User manual: "), this);
    lblUserManualURL = new ClickableLabel(QStringLiteral("velquor.example/qln/qln.htm"), this);
    lblUserManualURL->setToolTip(QStringLiteral("Click here for the online user manual."));
    lblVelquorSystems = new ClickableLabel(QStringLiteral("Velquor Systems"), this);
    lblVelquorSystems->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVelquorSystems->setToolTip(QStringLiteral("Click here to visit the Velquor Systems web site."));
    for (QLabel *link : {static_cast<QLabel *>(lblUserManualURL), static_cast<QLabel *>(lblVelquorSystems)}) {
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
        link->setPalette(palette);
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
    }

    txbExcludedSubfolders->setTabChangesFocus(true);
    // The design size; start-up sets the height by its rule.
    twips::Resize(this, 8970, 6450);
    ArrangeControls();
}

void frmMain::connectControls()
{
    connect(cmdQuit, &QPushButton::clicked, this, &frmMain::cmdQuit_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmMain::cmdStop_Click);
    connect(chkIncludePHPfiles, &QCheckBox::clicked, this, &frmMain::chkIncludePHPfiles_Click);
    connect(chkShowRepeatedLinks, &QCheckBox::clicked, this, &frmMain::chkShowRepeatedLinks_Click);
    connect(chkTopFolderOnly, &QCheckBox::clicked, this, &frmMain::chkTopFolderOnly_Click);
    connect(chkReadAsBrowser, &QCheckBox::toggled, chkCheckAnchors, &QCheckBox::setEnabled);
    // A click on the first box leaves the focus there, so that Tab and Space
    // reach the box it has just enabled.
    connect(chkCheckAnchors, &QCheckBox::clicked, this, &frmMain::FocusNextButton);
    connect(cmdListFiles, &QPushButton::clicked, this, &frmMain::cmdListFiles_Click);
    connect(cmdCheckLinks, &QPushButton::clicked, this, &frmMain::cmdCheckLinks_Click);
    connect(cmdTopFolder, &QPushButton::clicked, this, &frmMain::cmdTopFolder_Click);
    connect(cmdClear, &QPushButton::clicked, this, &frmMain::cmdClear_Click);
    connect(cboClear, &QComboBox::activated, this, &frmMain::cboClear_Click);
    connect(cmdSettings, &QPushButton::clicked, this, &frmMain::cmdSettings_Click);
    connect(cboSettings, &QComboBox::activated, this, &frmMain::cboSettings_Click);
    connect(cmdSelectSubfolders, &QPushButton::clicked, this, &frmMain::cmdSelectSubfolders_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);
    connect(lblUserManualURL, &ClickableLabel::clicked, this, &frmMain::lblUserManualURL_Click);
    connect(lblVelquorSystems, &ClickableLabel::clicked, this, &frmMain::lblVelquorSystems_Click);
    txbExcludedFilepaths->installEventFilter(this);
    txbExcludedLinks->installEventFilter(this);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut
        && focusMovesToAnotherControl(static_cast<QFocusEvent *>(event), watched))
        tidyExclusionBox(watched);
    return QWidget::eventFilter(watched, event);
}

bool frmMain::Form_Load()
{
    blnStartupCompleted = false;
    strProgramTextFile = QStringLiteral("QLN").toLower() + QStringLiteral(".dat");

    const QString textPath = ProgramTextFilePath(programFolder_, strProgramTextFile);
    const ProgramTextLoadResult loaded = programText_.LoadFromFile(textPath);
    if (!loaded.ok()) {
        interaction_.ShowMessageBox(nullptr, ProgramTextLoadMessage(loaded, textPath), QString(),
                                    Interaction::Icon::Stop, Interaction::Buttons::Ok,
                                    Interaction::Answer::Ok);
        return false;
    }

    InitialiseSettings();
    ResetSettingsFields();
    SetFormBackColor(this, kMainBackColour);
    ShowNumExcludedSubfolders();
    cmdStop->hide();

    // The settings lists are filled now: room for their longest entries.
    ArrangeControls();
    const auto placeWindow = [this] {
        applyHeightRule();
        twips::Move(this, 100, (twips::ScreenHeight() - twips::Height(this)) / 2);
    };
    placeWindow();
    show();
    // The frame is known only once the window is on the screen; the
    // position centres the window with it.
    placeWindow();

    if (FileExists(strDefaultSettingsFile_))
        LoadSettings(strDefaultSettingsFile_);
    ShowNumExcludedSubfolders();
    cmdHelp->setFocus();
    blnStartupCompleted = true;
    return true;
}

void frmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Another desktop font: the controls take their new sizes and the window
    // its new height.
    if (event->type() == QEvent::FontChange && cmdSettings) {
        ArrangeControls();
        applyHeightRule();
    }
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The boxes reach to the window's right edge.
    if (cmdSettings)
        ArrangeControls();
}

void frmMain::SetFormBackColor(QWidget *window, const QColor &colour)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    const auto children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (qobject_cast<QLabel *>(child) || qobject_cast<QCheckBox *>(child)) {
            // Labels and check boxes paint no background of their own, so the
            // window's colour shows through; their palette follows it too.
            QPalette childPalette = child->palette();
            childPalette.setColor(QPalette::Window, colour);
            child->setPalette(childPalette);
        }
    }
}

void frmMain::EnableControls(bool enable)
{
    const auto children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        // Stop shows only while a walk runs, and always enabled. The web
        // links take the focus and keys as buttons do, and rest with them.
        if (child == cmdStop)
            continue;
        if (qobject_cast<QLineEdit *>(child) || qobject_cast<QPlainTextEdit *>(child)
            || qobject_cast<QCheckBox *>(child) || qobject_cast<QPushButton *>(child)
            || qobject_cast<QComboBox *>(child) || qobject_cast<ClickableLabel *>(child))
            child->setEnabled(enable);
    }
    cmdQuit->setEnabled(true);
    if (enable)
        chkCheckAnchors->setEnabled(chkReadAsBrowser->isChecked());
}

void frmMain::FocusNextButton()
{
    if (!isVisible() || !blnStartupCompleted)
        return;
    if (txbTopFolder->text().isEmpty() && cmdTopFolder->isEnabled())
        cmdTopFolder->setFocus();
    else if (cmdListFiles->isEnabled())
        cmdListFiles->setFocus();
}

void frmMain::chkIncludePHPfiles_Click()
{
    FocusNextButton();
}

void frmMain::chkShowRepeatedLinks_Click()
{
    FocusNextButton();
}

void frmMain::chkTopFolderOnly_Click()
{
    FocusNextButton();
}

int frmMain::BrowserReadingValue() const
{
    if (!chkReadAsBrowser->isChecked())
        return 0;
    return chkCheckAnchors->isChecked() ? 2 : 1;
}

void frmMain::SetBrowserReading(int value)
{
    chkReadAsBrowser->setChecked(value >= 1);
    chkCheckAnchors->setChecked(value == 2);
}

void frmMain::cmdStop_Click()
{
    const auto answer = interaction_.ShowMessageBox(
        this, QStringLiteral("Really stop?"), QStringLiteral("Stop"), Interaction::Icon::None,
        Interaction::Buttons::YesNo, Interaction::Answer::No);
    if (answer == Interaction::Answer::Yes)
        blnStop = true;
}

void frmMain::cmdQuit_Click()
{
    if (blnQuitting_)
        return;
    if (FileExists(strReportFile_))
        QFile::remove(strReportFile_);
    // The program ends now: a walk in progress stops at its next yield and
    // its command writes nothing more; the windows go at once.
    blnQuitting_ = true;
    frmView_->hide();
    frmView2_->hide();
    hide();
    QApplication::quit();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    cmdQuit_Click();
    event->accept();
}

void frmMain::Yield()
{
    if (eventIntervalMs_ > 0 && sinceEvents_.isValid() && sinceEvents_.elapsed() < eventIntervalMs_)
        return;
    flushPendingFileBeingScanned();
    interaction_.ProcessEvents();
    sinceEvents_.start();
}

bool frmMain::StopRequested() const
{
    return blnStop || blnQuitting_;
}

void frmMain::ShowFileBeingScanned(QStringView relativePath)
{
    // Shown at the next yield: setting a text box for every file costs more
    // than reading a small page.
    pendingFileBeingScanned_ = relativePath.toString();
    fileBeingScannedPending_ = true;
}

void frmMain::flushPendingFileBeingScanned()
{
    if (!fileBeingScannedPending_)
        return;
    txbFileBeingScanned->setText(pendingFileBeingScanned_);
    fileBeingScannedPending_ = false;
}

void frmMain::ShowStatus(const QString &text)
{
    setStatus(text);
}

void frmMain::setStatus(const QString &text)
{
    lblTotalNumFilesOrBrokenLinks->setText(text);
}

ScanOptions frmMain::currentScanOptions() const
{
    ScanOptions options;
    options.topFolder = txbTopFolder->text();
    options.topFolderOnly = CheckBoxValue(chkTopFolderOnly);
    options.includePhpFiles = CheckBoxValue(chkIncludePHPfiles);
    options.checkableFileTypes = strCheckableFileTypes;
    options.maxNumFiles = lngMaxNumFiles;
    options.maxNumLinks = lngMaxNumLinks;
    options.readAsBrowser = BrowserReadingValue() >= 1;
    options.checkAnchors = BrowserReadingValue() == 2;
    return options;
}

} // namespace quillan
