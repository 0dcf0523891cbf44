#include "main/frmMain.h"

#include "util/FileProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/ClickableLabel.h"
#include "windows/Interaction.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"
#include "windows/frmSelectSubfolders.h"
#include "windows/frmView.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan {

namespace {

const QColor kMainBackColour(208, 208, 240);

template <typename Widget>
Widget *place(Widget *widget, int left, int top, int width, int height)
{
    twips::SetGeometry(widget, left, top, width, height);
    return widget;
}

QLabel *labelFor(QLabel *label, QWidget *buddy)
{
    label->setBuddy(buddy);
    return label;
}

} // namespace

frmMain::frmMain(Interaction &interaction, QString programFolder, QWidget *parent)
    : QWidget(parent), interaction_(interaction), programFolder_(std::move(programFolder))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quillan"));
    createControls();
    connectControls();
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
    // Positions in twips; only the window's height follows a fixed rule.
    cmdTopFolder = place(new QPushButton(QStringLiteral("Top folder"), this), 120, 120, 2300, 400);
    txbTopFolder = place(new QLineEdit(this), 2550, 140, 6300, 360);
    txbTopFolder->setReadOnly(true);
    txbTopFolder->setToolTip(QStringLiteral("Click on 'Top folder' to specify a folder."));
    txbTopFolder->setAccessibleName(QStringLiteral("Top folder"));

    cmdSelectSubfolders = place(new QPushButton(QStringLiteral("Exclude top subfolders"), this),
                                120, 660, 2300, 400);
    txbExcludedSubfolders = place(new QPlainTextEdit(this), 2550, 660, 6300, 1100);
    txbExcludedSubfolders->setReadOnly(true);
    txbExcludedSubfolders->setLineWrapMode(QPlainTextEdit::NoWrap);
    txbExcludedSubfolders->setToolTip(QStringLiteral("These subfolders are excluded from the scan."));
    txbExcludedSubfolders->setAccessibleName(QStringLiteral("Excluded top subfolders"));
    lblNumExcludedTopSubfolders = place(new QLabel(QStringLiteral("Seventeen excluded."), this),
                                        120, 1140, 2300, 300);
    lblNumExcludedTopSubfolders->setWordWrap(true);

    lblExcludeFilepathsContaining =
        place(new QLabel(QStringLiteral("Exclude filepaths containing:"), this), 120, 1950, 2900, 300);
    txbExcludedFilepaths = place(new QLineEdit(this), 3100, 1920, 5750, 360);
    labelFor(lblExcludeFilepathsContaining, txbExcludedFilepaths);

    Label1 = place(new QLabel(QStringLiteral("Exclude links containing:"), this), 120, 2430, 2900, 300);
    txbExcludedLinks = place(new QLineEdit(this), 3100, 2400, 5750, 360);
    labelFor(Label1, txbExcludedLinks);

    chkIncludePHPfiles = place(
        new QCheckBox(QStringLiteral("Check links in PHP files as well as HTM files"), this), 120,
        2900, 7000, 300);
    chkShowRepeatedLinks = place(
        new QCheckBox(QStringLiteral("Show repeated broken links in a file"), this), 120, 3230,
        7000, 300);
    chkTopFolderOnly = place(
        new QCheckBox(QStringLiteral("Check links in files in top folder only"), this), 120, 3560,
        7000, 300);

    cmdListFiles = place(new QPushButton(QStringLiteral("List files"), this), 120, 4020, 1800, 450);
    cmdCheckLinks = place(new QPushButton(QStringLiteral("Check links"), this), 2040, 4020, 1800, 450);
    cmdStop = place(new QPushButton(QStringLiteral("Stop"), this), 3960, 4020, 1300, 450);
    cmdHelp = place(new QPushButton(QStringLiteral("Help"), this), 6050, 4020, 1300, 450);
    cmdQuit = place(new QPushButton(QStringLiteral("Quit"), this), 7550, 4020, 1300, 450);

    lblScanningFile = place(new QLabel(QStringLiteral("Scanning file:"), this), 120, 4660, 1400, 300);
    txbFileBeingScanned = place(new QLineEdit(this), 1550, 4630, 7300, 360);
    txbFileBeingScanned->setReadOnly(true);
    labelFor(lblScanningFile, txbFileBeingScanned);
    lblTotalNumFilesOrBrokenLinks = place(
        new QLabel(QStringLiteral("Number of broken from/to links found: 99999"), this), 120, 5100,
        8730, 300);
    lblTotalNumFilesOrBrokenLinks->setAccessibleName(QStringLiteral("Status"));

    cmdSettings = place(new QPushButton(QStringLiteral("Settings -->"), this), 120, 5560, 1500, 400);
    cboSettings = place(new QComboBox(this), 1680, 5560, 2600, 400);
    cboSettings->setAccessibleName(QStringLiteral("Settings actions"));
    cmdClear = place(new QPushButton(QStringLiteral("Clear -->"), this), 4550, 5560, 1300, 400);
    cboClear = place(new QComboBox(this), 5910, 5560, 2940, 400);
    cboClear->setAccessibleName(QStringLiteral("Clear actions"));

    lblUserManual = place(new QLabel(QStringLiteral("User manual: "), this), 120, 6130, 1250, 300);
    lblUserManualURL = place(new ClickableLabel(QStringLiteral("velquor.example/qln/qln.htm"), this),
                             1370, 6130, 3800, 300);
    lblUserManualURL->setToolTip(QStringLiteral("Click here for the online user manual."));
    lblUserManualURL->setCursor(Qt::PointingHandCursor);
    lblVelquorSystems = place(new ClickableLabel(QStringLiteral("Velquor Systems"), this), 5910,
                              6130, 2940, 300);
    lblVelquorSystems->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblVelquorSystems->setToolTip(QStringLiteral("Click here to visit the Velquor Systems web site."));
    lblVelquorSystems->setCursor(Qt::PointingHandCursor);
    for (QLabel *link : {static_cast<QLabel *>(lblUserManualURL), static_cast<QLabel *>(lblVelquorSystems)}) {
        QPalette palette = link->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
        link->setPalette(palette);
        QFont font = link->font();
        font.setUnderline(true);
        link->setFont(font);
    }

    twips::Resize(this, 8970, 6450);
}

void frmMain::connectControls()
{
    connect(cmdQuit, &QPushButton::clicked, this, &frmMain::cmdQuit_Click);
    connect(cmdStop, &QPushButton::clicked, this, &frmMain::cmdStop_Click);
    connect(chkIncludePHPfiles, &QCheckBox::clicked, this, &frmMain::chkIncludePHPfiles_Click);
    connect(chkShowRepeatedLinks, &QCheckBox::clicked, this, &frmMain::chkShowRepeatedLinks_Click);
    connect(chkTopFolderOnly, &QCheckBox::clicked, this, &frmMain::chkTopFolderOnly_Click);
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
    if (event->type() == QEvent::FocusOut) {
        if (watched == txbExcludedFilepaths)
            txbExcludedFilepaths_LostFocus();
        else if (watched == txbExcludedLinks)
            txbExcludedLinks_LostFocus();
    }
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

    const auto placeWindow = [this] {
        const int height = twips::Top(cmdSettings) + twips::Height(cmdSettings) + 600;
        twips::Resize(this, twips::Width(this), height);
        twips::Move(this, 100, (twips::ScreenHeight() - height) / 2);
    };
    placeWindow();
    show();
    // The frame is known only once the window is on the screen; the height
    // counts it, as the window's position does.
    placeWindow();

    if (FileExists(strDefaultSettingsFile_))
        LoadSettings(strDefaultSettingsFile_);
    ShowNumExcludedSubfolders();
    cmdHelp->setFocus();
    blnStartupCompleted = true;
    return true;
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
        if (qobject_cast<QLineEdit *>(child) || qobject_cast<QPlainTextEdit *>(child)
            || qobject_cast<QCheckBox *>(child) || qobject_cast<QPushButton *>(child)
            || qobject_cast<QComboBox *>(child))
            child->setEnabled(enable);
    }
    cmdQuit->setEnabled(true);
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

void frmMain::ShowFileBeingScanned(const QString &relativePath)
{
    // Shown at the next yield: setting a text box for every file costs more
    // than reading a small page.
    pendingFileBeingScanned_ = relativePath;
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
    return options;
}

} // namespace quillan
