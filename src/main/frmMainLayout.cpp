// Where the main window's controls lie. Each has a design place and size in
// twips; a control whose text needs more at the present font grows, the
// rows below it move down and the window widens to hold the widest row.
// Only the window's height follows a fixed rule: it ends a margin below its
// last row.

#include "main/frmMain.h"
#include "windows/ClickableLabel.h"
#include "windows/Fit.h"
#include "windows/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <initializer_list>

namespace quillan
{

namespace
{

constexpr int kMargin = 120;
constexpr int kAnchorsIndent = 300;

int widest(std::initializer_list<int> sizes)
{
    return std::max(sizes);
}

template <typename Widget>
int fittedHeight(std::initializer_list<Widget *> controls, int designHeight)
{
    int height = designHeight;
    for (const Widget *control : controls)
        height = fit::Height(control, height);
    return height;
}

// A control in a row `rowHeight` high at `top`, centred in it.
void placeInRow(QWidget *control, int left, int top, int rowHeight, int width, int height)
{
    twips::SetGeometry(control, left, top + (rowHeight - height) / 2, width, height);
}

int labelTextWidth(const QLabel *label, std::initializer_list<QString> texts)
{
    int width = 0;
    for (const QString &text : texts)
        width = qMax(width, twips::FromPixels(fit::LabelSizeFor(label, text).width()));
    return width;
}

} // namespace

void frmMain::ArrangeControls()
{
    if (arranging_)
        return;
    arranging_ = true;

    // --- Sizes: the design's, or what the text needs --------------------------
    const int column =
        widest({fit::Width(cmdTopFolder, 2300), fit::Width(cmdSelectSubfolders, 2300)});
    const int folderButtonHeight = fittedHeight({cmdTopFolder, cmdSelectSubfolders}, 400);
    const int boxHeight = fittedHeight(
        {txbTopFolder, txbExcludedFilepaths, txbExcludedLinks, txbFileBeingScanned}, 360);
    // The count of excluded subfolders wraps under its button: room for the
    // longest of its sentences.
    int excludedHeight = 700;
    for (const QString &text :
         {GetProgramText(29), QStringLiteral("Seventy seven ") + GetProgramText(27)})
        excludedHeight =
            qMax(excludedHeight, twips::FromPixels(fit::WrappedLabelHeight(
                                     lblNumExcludedTopSubfolders, text, twips::ToPixels(column))));
    const int captionColumn =
        widest({fit::Width(lblExcludeFilepathsContaining, 2900), fit::Width(Label1, 2900)});
    const int labelHeight =
        fittedHeight({lblExcludeFilepathsContaining, Label1, lblScanningFile}, 300);
    const int optionWidth =
        widest({fit::Width(chkIncludePHPfiles, 7000), fit::Width(chkShowRepeatedLinks, 7000),
                fit::Width(chkTopFolderOnly, 7000), fit::Width(chkReadAsBrowser, 7000),
                kAnchorsIndent + fit::Width(chkCheckAnchors, 7000 - kAnchorsIndent)});
    const int optionHeight = fittedHeight(
        {chkIncludePHPfiles, chkShowRepeatedLinks, chkTopFolderOnly, chkReadAsBrowser, chkCheckAnchors},
        300);
    const int commandHeight =
        fittedHeight({cmdListFiles, cmdCheckLinks, cmdStop, cmdHelp, cmdQuit}, 450);
    const int listWidth = fit::Width(cmdListFiles, 1800);
    const int checkWidth = fit::Width(cmdCheckLinks, 1800);
    const int stopWidth = fit::Width(cmdStop, 1300);
    const int helpWidth = fit::Width(cmdHelp, 1300);
    const int quitWidth = fit::Width(cmdQuit, 1300);
    const int scanningWidth = fit::Width(lblScanningFile, 1400);
    // The status line holds the longest of its usual texts.
    const int statusWidth =
        labelTextWidth(lblTotalNumFilesOrBrokenLinks,
                       {QStringLiteral("Number of broken from/to links found: 99999"),
                        QStringLiteral("Congratulations!  There are no broken local links."),
                        QStringLiteral("Maximum number of files reached: 50,000")});
    const int statusHeight = qMax(
        300, twips::FromPixels(
                 fit::LabelSizeFor(lblTotalNumFilesOrBrokenLinks, QStringLiteral("Xg")).height()));
    const QSize settingsList = fit::ComboBoxSize(cboSettings);
    const QSize clearList = fit::ComboBoxSize(cboClear);
    const int settingsRowHeight =
        widest({fittedHeight({cmdSettings, cmdClear}, 400),
                twips::FromPixels(settingsList.height()), twips::FromPixels(clearList.height())});
    const int settingsWidth = fit::Width(cmdSettings, 1500);
    const int settingsListWidth = qMax(2600, twips::FromPixels(settingsList.width()));
    const int clearWidth = fit::Width(cmdClear, 1300);
    const int clearListWidth = qMax(2940, twips::FromPixels(clearList.width()));
    // The links are as wide as their text, so that their focus frame hugs it.
    const int manualWidth = fit::Width(lblUserManual, 1250);
    const int manualLinkWidth = fit::NeededWidth(lblUserManualURL);
    const int makerLinkWidth = fit::NeededWidth(lblVelquorSystems);
    const int linkHeight =
        fittedHeight<QLabel>({lblUserManual, lblUserManualURL, lblVelquorSystems}, 300);

    // --- The window as wide as its widest row ----------------------------------
    const int rowsWidth = widest({
        column + 130 + 6300,
        captionColumn + 80 + 5750,
        optionWidth,
        listWidth + 120 + checkWidth + 120 + stopWidth + 200 + helpWidth + 200 + quitWidth,
        scanningWidth + 30 + 7300,
        statusWidth,
        settingsWidth + 60 + settingsListWidth + 270 + clearWidth + 60 + clearListWidth,
        manualWidth + manualLinkWidth + 200 + makerLinkWidth,
    });
    const int neededWidth = twips::ToPixels(rowsWidth + 2 * kMargin);
    setMinimumWidth(neededWidth);
    if (width() < neededWidth)
        resize(neededWidth, height());
    const int right = twips::FromPixels(width()) - kMargin;

    // --- Rows, top to bottom ------------------------------------------------------
    const int boxLeft = kMargin + column + 130;
    int top = kMargin;
    int rowHeight = qMax(folderButtonHeight, boxHeight);
    placeInRow(cmdTopFolder, kMargin, top, folderButtonHeight, column, folderButtonHeight);
    placeInRow(txbTopFolder, boxLeft, top, rowHeight, right - boxLeft, boxHeight);

    top += rowHeight + 140;
    twips::SetGeometry(cmdSelectSubfolders, kMargin, top, column, folderButtonHeight);
    const int excludedTop = top + folderButtonHeight + 80;
    twips::SetGeometry(lblNumExcludedTopSubfolders, kMargin, excludedTop, column, excludedHeight);
    twips::SetGeometry(txbExcludedSubfolders, boxLeft, top, right - boxLeft, 1100);

    top = qMax(top + 1100 + 160, excludedTop + excludedHeight + 80);
    const int captionBoxLeft = kMargin + captionColumn + 80;
    rowHeight = qMax(labelHeight, boxHeight);
    for (auto [caption, box] :
         {std::pair<QLabel *, QLineEdit *>{lblExcludeFilepathsContaining, txbExcludedFilepaths},
          std::pair<QLabel *, QLineEdit *>{Label1, txbExcludedLinks}}) {
        placeInRow(caption, kMargin, top, rowHeight, captionColumn, labelHeight);
        placeInRow(box, captionBoxLeft, top, rowHeight, right - captionBoxLeft, boxHeight);
        top += rowHeight + 120;
    }

    top += 20;
    for (QCheckBox *option : {chkIncludePHPfiles, chkShowRepeatedLinks, chkTopFolderOnly}) {
        twips::SetGeometry(option, kMargin, top, optionWidth, optionHeight);
        top += optionHeight + 30;
    }
    // The way of reading below the options, anchors under it, indented as
    // what depends on it.
    top += 60;
    twips::SetGeometry(chkReadAsBrowser, kMargin, top, optionWidth, optionHeight);
    top += optionHeight + 30;
    twips::SetGeometry(chkCheckAnchors, kMargin + kAnchorsIndent, top, optionWidth - kAnchorsIndent,
                       optionHeight);
    top += optionHeight + 30;

    top += 130;
    twips::SetGeometry(cmdListFiles, kMargin, top, listWidth, commandHeight);
    twips::SetGeometry(cmdCheckLinks, kMargin + listWidth + 120, top, checkWidth, commandHeight);
    twips::SetGeometry(cmdStop, kMargin + listWidth + 120 + checkWidth + 120, top, stopWidth,
                       commandHeight);
    twips::SetGeometry(cmdQuit, right - quitWidth, top, quitWidth, commandHeight);
    twips::SetGeometry(cmdHelp, right - quitWidth - 200 - helpWidth, top, helpWidth, commandHeight);

    top += commandHeight + 160;
    rowHeight = qMax(labelHeight, boxHeight);
    placeInRow(lblScanningFile, kMargin, top, rowHeight, scanningWidth, labelHeight);
    placeInRow(txbFileBeingScanned, kMargin + scanningWidth + 30, top, rowHeight,
               right - kMargin - scanningWidth - 30, boxHeight);

    top += rowHeight + 110;
    twips::SetGeometry(lblTotalNumFilesOrBrokenLinks, kMargin, top, right - kMargin, statusHeight);

    top += statusHeight + 160;
    twips::SetGeometry(cmdSettings, kMargin, top, settingsWidth, settingsRowHeight);
    twips::SetGeometry(cboSettings, kMargin + settingsWidth + 60, top, settingsListWidth,
                       settingsRowHeight);
    twips::SetGeometry(cboClear, right - clearListWidth, top, clearListWidth, settingsRowHeight);
    twips::SetGeometry(cmdClear, right - clearListWidth - 60 - clearWidth, top, clearWidth,
                       settingsRowHeight);

    // The web links make the last row.
    top += settingsRowHeight + 170;
    twips::SetGeometry(lblUserManual, kMargin, top, manualWidth, linkHeight);
    twips::SetGeometry(lblUserManualURL, kMargin + manualWidth, top, manualLinkWidth, linkHeight);
    twips::SetGeometry(lblVelquorSystems, right - makerLinkWidth, top, makerLinkWidth, linkHeight);

    arranging_ = false;
}

void frmMain::applyHeightRule()
{
    // Measured inside the frame, whose height differs from one desktop to
    // the next and is known only once the window is shown; and from
    // wherever the rows came to lie, however many there are.
    int lastRowBottom = 0;
    const auto children = findChildren<const QWidget *>(Qt::FindDirectChildrenOnly);
    for (const QWidget *child : children) {
        if (!child->isWindow())
            lastRowBottom = qMax(lastRowBottom, child->geometry().bottom() + 1);
    }
    const int height = lastRowBottom + twips::ToPixels(kMargin);
    // Made smaller by hand, the window would cut the last rows.
    setMinimumHeight(height);
    resize(width(), height);
}

} // namespace quillan
