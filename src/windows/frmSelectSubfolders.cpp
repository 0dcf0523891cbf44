#include "windows/frmSelectSubfolders.h"

#include "subfolders/SubfolderEntry.h"
#include "util/DiskProc.h"
#include "util/FileProc.h"
#include "util/StrProc.h"
#include "windows/EnterPresses.h"
#include "windows/Fit.h"
#include "windows/Interaction.h"
#include "windows/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace quillan {

namespace {

// Design sizes, in twips; a larger font makes the controls grow beyond them.
constexpr int kPictureLeft = 180;
constexpr int kPictureTop = 180;
constexpr int kRowLeft = 60;
constexpr int kButtonHeight = 375;
constexpr int kSelectButtonWidth = 1100;
constexpr int kAcceptCancelWidth = 1000;
constexpr int kLabelHeight = 450;
constexpr int kReadingHeight = 400;
constexpr int kScrollBarWidth = 255;
constexpr int kButtonGap = 150;
// The buttons stand this far above the window's bottom edge; the summary may
// reach a little below their bottom edge.
constexpr int kBelowButtons = 700;
constexpr int kSummaryOverhang = 75;
// Below the rows at the design sizes: the gap, the buttons and the margin.
constexpr int kBelowRows = 1400;
// The picture's width is the window's less this.
constexpr int kPictureMargins = 500;

const QColor kDefaultBackColour(255, 255, 192); // light yellow

// A stored colour is 0x00BBGGRR.
QColor fromStoredColour(qint32 colour)
{
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

void setLeft(QWidget *widget, int left)
{
    widget->move(twips::ToPixels(left), widget->y());
}

void setTop(QWidget *widget, int top)
{
    widget->move(widget->x(), twips::ToPixels(top));
}

void setWidth(QWidget *widget, int width)
{
    widget->resize(qMax(twips::ToPixels(width), 0), widget->height());
}

void setHeight(QWidget *widget, int height)
{
    widget->resize(widget->width(), qMax(twips::ToPixels(height), 0));
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A caption shows "&" as it stands, not as a keyboard mnemonic.
QString escapedCaption(const QString &caption)
{
    QString escaped = caption;
    escaped.replace(u'&', QStringLiteral("&&"));
    return escaped;
}

// A scroll bar that tells whether a key is moving it: keyboard paging keeps
// the focus on it, while a mouse user's next step is Accept.
class PagingScrollBar : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;
    bool movingByKey() const { return movingByKey_; }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        movingByKey_ = true;
        QScrollBar::keyPressEvent(event);
        movingByKey_ = false;
    }

private:
    bool movingByKey_ = false;
};

} // namespace

frmSelectSubfolders::frmSelectSubfolders(Interaction &interaction, QWidget *parent)
    : QDialog(parent), interaction_(interaction)
{
    setObjectName(QStringLiteral("frmSelectSubfolders"));
    setWindowTitle(QStringLiteral("Select subfolders"));
    // Only the family is the window's own: the size follows the desktop's.
    QFont arial = font();
    arial.setFamily(QStringLiteral("Arial"));
    setFont(arial);
    createControls();
    fitControls();
    twips::Resize(this, 8650, 6000);

    // Load.
    blnExcludeRecycleBin = true;
    lngBackColor = -1;
    blnBusy = true;
}

void frmSelectSubfolders::createControls()
{
    picSubfolders = new QWidget(this);
    picSubfolders->setObjectName(QStringLiteral("picSubfolders"));
    picSubfolders->setAccessibleName(QStringLiteral("Subfolders"));
    QPalette palette = picSubfolders->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    picSubfolders->setPalette(palette);
    picSubfolders->setAutoFillBackground(true);
    picSubfolders->installEventFilter(this);
    twips::SetGeometry(picSubfolders, kPictureLeft, kPictureTop, 8150, 4000);

    lblReading_ = new QLabel(picSubfolders);
    lblReading_->setTextFormat(Qt::PlainText);
    lblReading_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    twips::SetGeometry(lblReading_, kRowLeft, 60, 30000, kReadingHeight);

    auto *row = new QCheckBox(picSubfolders);
    twips::SetGeometry(row, kRowLeft, 0, 8150, kRowHeight);
    appendRow(row);

    vsbScrollBar = new PagingScrollBar(Qt::Vertical, this);
    vsbScrollBar->setAccessibleName(QStringLiteral("Scroll the subfolders"));
    // Keyboard users reach the rows past the first page through it.
    vsbScrollBar->setFocusPolicy(Qt::StrongFocus);
    twips::SetGeometry(vsbScrollBar, 8150, kPictureTop, kScrollBarWidth, 4000);
    vsbScrollBar->hide();
    connect(vsbScrollBar, &QScrollBar::valueChanged, this, &frmSelectSubfolders::vsbScrollBar_Change);

    // The summary lies behind the buttons should a narrow window make them meet.
    lblNumSubfolders = new QLabel(QStringLiteral("There are 13,391 subfolders."), this);
    lblNumSubfolders->setTextFormat(Qt::PlainText);
    lblNumSubfolders->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Assistive technology reads the sentence itself as the name.
    lblNumSubfolders->setAccessibleDescription(QStringLiteral("Selection summary"));
    twips::SetGeometry(lblNumSubfolders, 2600, 4400, 3000, kLabelHeight);

    cmdSelectDeselectAllSubfolders[1] = new QPushButton(QStringLiteral("Select all"), this);
    cmdSelectDeselectAllSubfolders[0] = new QPushButton(QStringLiteral("Deselect all"), this);
    for (int index : {1, 0}) {
        QPushButton *button = cmdSelectDeselectAllSubfolders[index];
        twips::SetGeometry(button, kPictureLeft, 4400, kSelectButtonWidth, kButtonHeight);
        connect(button, &QPushButton::clicked, this,
                [this, index] { cmdSelectDeselectAllSubfolders_Click(index); });
    }
    cmdAccept = new QPushButton(QStringLiteral("Accept"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton *button : {cmdAccept, cmdCancel})
        twips::SetGeometry(button, 6000, 4400, kAcceptCancelWidth, kButtonHeight);
    // Enter presses the button that has the focus, and no other: none may
    // become a default that Enter on a row would press unseen.
    for (QPushButton *button : {cmdSelectDeselectAllSubfolders[1], cmdSelectDeselectAllSubfolders[0],
                                cmdAccept, cmdCancel}) {
        button->setAutoDefault(false);
        PressOnEnter(button);
    }
    connect(cmdAccept, &QPushButton::clicked, this, &frmSelectSubfolders::cmdAccept_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelectSubfolders::cmdCancel_Click);
}

void frmSelectSubfolders::fitControls()
{
    // The progress reads a little larger than the rows.
    QFont readingFont = lblReading_->font();
    const qreal points = font().pointSizeF();
    readingFont.setPointSizeF(points > 0 ? qMax<qreal>(11, points + 2) : 11);
    lblReading_->setFont(readingFont);
    lblReading_->resize(lblReading_->width(),
                        twips::ToPixels(qMax(kReadingHeight, twips::FromPixels(fit::LabelSizeFor(
                                                                lblReading_, QStringLiteral("Xg"))
                                                                .height()))));

    // The four buttons stand in one row of one height.
    QPushButton *selectAll = cmdSelectDeselectAllSubfolders[1];
    QPushButton *deselectAll = cmdSelectDeselectAllSubfolders[0];
    int buttonHeight = kButtonHeight;
    for (QPushButton *button : {selectAll, deselectAll, cmdAccept, cmdCancel})
        buttonHeight = fit::Height(button, buttonHeight);
    for (QPushButton *button : {selectAll, deselectAll})
        twips::SetGeometry(button, twips::Left(button), twips::Top(button),
                           fit::Width(button, kSelectButtonWidth), buttonHeight);
    for (QPushButton *button : {cmdAccept, cmdCancel})
        twips::SetGeometry(button, twips::Left(button), twips::Top(button),
                           fit::Width(button, kAcceptCancelWidth), buttonHeight);

    // Room for two lines: a caption asking for included folders adds the
    // total size on a second line.
    setHeight(lblNumSubfolders,
              qMax(kLabelHeight, twips::FromPixels(fit::LabelSizeFor(lblNumSubfolders,
                                                                     QStringLiteral("Xg\nXg"))
                                                       .height())));

    // The row height is the first check box's, tall enough for one line.
    setHeight(chkSubfolder[0],
              qMax(kRowHeight, twips::FromPixels(fit::CheckBoxSizeFor(chkSubfolder[0],
                                                                      QStringLiteral("Xg"))
                                                     .height())));
}

QStringList frmSelectSubfolders::summarySamples() const
{
    // The widest text of each form the summary can take for this survey:
    // no count shown is wider than the number of subfolders.
    const int n = survey_.intNumSubfolders;
    QStringList samples{QStringLiteral("No subfolders selected."),
                        QStringLiteral("One subfolder selected."),
                        QStringLiteral("All ") + QString::number(n)
                            + QStringLiteral(" subfolders selected."),
                        strNumSubfolders + QStringLiteral(" selected (of ") + strNumSubfolders
                            + QStringLiteral(").")};
    if (ContainsInLowered(strCaption, u"included")) {
        double total = 0;
        for (int i = 0; i < n; ++i)
            total += survey_.dblBytes[i];
        samples << QStringLiteral("A total of over ") + FormatByteSizeGb(total, 2) + u'.';
    }
    return samples;
}

int frmSelectSubfolders::neededWidth() const
{
    const int bar = vsbScrollBar->isHidden() ? 0 : twips::Width(vsbScrollBar);
    const QPushButton *selectAll = cmdSelectDeselectAllSubfolders[1];
    const QPushButton *deselectAll = cmdSelectDeselectAllSubfolders[0];

    // The buttons with the summary between them...
    int summary = 0;
    for (const QString &sample : summarySamples())
        summary = qMax(summary, fit::LabelSizeFor(lblNumSubfolders, sample).width());
    const int buttonRow = twips::Width(selectAll) + twips::Width(deselectAll)
                          + twips::Width(cmdAccept) + twips::Width(cmdCancel)
                          + twips::FromPixels(summary) + 4 * kButtonGap + kPictureMargins + bar;

    // ...and the widest row of the whole list, whichever page shows it.
    int row = 0;
    for (int i = 0; i < survey_.intNumSubfolders; ++i)
        row = qMax(row, fit::CheckBoxSizeFor(chkSubfolder[0],
                                             escapedCaption(FormatCheckboxCaption(survey_.strEntries[i])))
                            .width());
    const int rows = twips::FromPixels(row) + kRowLeft + kPictureMargins + bar;
    return qMax(buttonRow, rows);
}

int frmSelectSubfolders::heightBelowRows() const
{
    // The design allowance, grown with the buttons; and enough that the
    // summary, centred between the rows and the buttons, ends by the
    // buttons' bottom edge, as it does at the design sizes.
    const int buttons = twips::Height(cmdCancel);
    const int summary = twips::Height(lblNumSubfolders);
    return qMax(kBelowRows + qMax(0, buttons - kButtonHeight),
                kPictureTop + kBelowButtons - 2 * kSummaryOverhang - buttons + 2 * summary);
}

void frmSelectSubfolders::appendRow(QCheckBox *row)
{
    // A tick by the keyboard, by assistive technology or from code counts as
    // a click does; while the window fills itself the handler ignores it.
    const int index = static_cast<int>(chkSubfolder.size());
    connect(row, &QCheckBox::toggled, this, [this, index] { chkSubfolder_Click(index); });
    if (index > 0)
        setTabOrder(chkSubfolder.last(), row);
    chkSubfolder.append(row);
}

void frmSelectSubfolders::ShowModal()
{
    inModalShow_ = true;
    setWindowModality(Qt::ApplicationModal);
    // The caller's size counts the window's frame, which is known only once
    // the window is shown.
    const int width = twips::Width(this);
    const int height = twips::Height(this);
    show();
    twips::Resize(this, width, height);
    activateWindow();
    Form_Activate();
    if (isVisible() && !unloadRequested_)
        exec();
    inModalShow_ = false;
    if (unloadRequested_)
        deleteLater();
}

void frmSelectSubfolders::Form_Activate()
{
    blnBusy = true;
    blnCancelRequested = false;
    sinceEvents_.invalidate();

    applyColours();
    chkSubfolder[0]->hide();
    lblNumSubfolders->clear();
    ShowProgress(ReadingDiskText(0));
    setWindowTitle(strCaption);

    // While the disk is read the picture fills the window but for the button
    // row, which a larger font makes taller.
    setWidth(picSubfolders, twips::Width(this) - kPictureMargins);
    setHeight(picSubfolders,
              twips::Height(this) - 1300 - qMax(0, twips::Height(cmdCancel) - kButtonHeight));
    ArrangeButtons();
    // Every show starts at the first row, whatever the last one scrolled to.
    vsbScrollBar->hide();
    vsbScrollBar->setValue(0);
    repaint();

    const SurveyOptions options{blnExcludeRecycleBin, blnOmitTotalFilesize};
    const SurveyResult result = SurveySubfolders(strTopFolder, options, survey_, *this);
    if (result.outcome == SurveyOutcome::TopFolderUnreadable) {
        interaction_.ShowMessageBox(this, result.errorDescription, QStringLiteral("Select subfolders"),
                                    Interaction::Icon::Exclamation, Interaction::Buttons::Ok,
                                    Interaction::Answer::Ok);
        hide();
        return;
    }
    // No subfolders, or cancelled: the window stays busy, showing the
    // progress text; only Cancel and the title bar act.
    if (result.outcome != SurveyOutcome::Completed)
        return;

    preselect();
    loadRows();
    showRows();
    ShowSelectionSummary();
    cmdCancel->setFocus();
    blnBusy = false;
}

void frmSelectSubfolders::applyColours()
{
    const bool defaults = lngBackColor == -1;
    const QColor back = defaults ? kDefaultBackColour : fromStoredColour(lngBackColor);
    const QColor fore = defaults ? QColor(Qt::black) : fromStoredColour(lngLabelForeColor);
    setBackground(this, back);
    setBackground(lblNumSubfolders, back);
    QPalette palette = lblNumSubfolders->palette();
    palette.setColor(QPalette::WindowText, fore);
    lblNumSubfolders->setPalette(palette);
}

void frmSelectSubfolders::preselect()
{
    const int n = survey_.intNumSubfolders;
    for (int &checked : survey_.intChecked)
        checked = 0;
    if (strFoldersPassedToSelectFoldersForm.isEmpty())
        return;
    intNumPassedNames = SplitLines(strFoldersPassedToSelectFoldersForm, strPassedNames, -1, true);
    if (intNumPassedNames < 1)
        return;
    const QStringList passed = strPassedNames.mid(0, intNumPassedNames);
    for (int i = 0; i < n; ++i) {
        const QString &entry = survey_.strEntries[i];
        if (!passed.contains(LowerCaseAccented(EntryName(entry))))
            continue;
        // An unreadable subfolder, or one the emptiness test could not read,
        // is never ticked in advance.
        if (!ContainsInLowered(entry, u"permission denied") && !survey_.blnEmpty[i])
            survey_.intChecked[i] = 1;
    }
}

void frmSelectSubfolders::loadRows()
{
    const int n = survey_.intNumSubfolders;
    lblReading_->clear();
    lblReading_->hide();
    intNumCheckboxesShown = qMin(n, qMax(intMaxNumCheckboxes, 1));
    strNumSubfolders = FormatCount(n);

    if (n > intNumCheckboxesShown) {
        vsbScrollBar->setRange(0, n - intNumCheckboxesShown);
        vsbScrollBar->setValue(0);
        vsbScrollBar->setSingleStep(1);
        vsbScrollBar->setPageStep(intMaxNumCheckboxes - 1);
        vsbScrollBar->show();
        vsbScrollBar->raise();
    }
    UnloadExtraCheckboxes();
    for (int k = 1; k < intNumCheckboxesShown; ++k)
        appendRow(new QCheckBox(picSubfolders));
    chkSubfolder[0]->setVisible(intNumCheckboxesShown > 0);
    layOutPage();
}

void frmSelectSubfolders::layOutPage()
{
    // The window is as high as its rows and as wide as its caller asked, or
    // wider where the rows or the buttons need it.
    const int rowHeight = twips::Height(chkSubfolder[0]);
    setHeight(picSubfolders, intNumCheckboxesShown * rowHeight);
    twips::Resize(this, qMax(twips::Width(this), neededWidth()),
                  twips::Height(picSubfolders) + heightBelowRows());
    setWidth(picSubfolders, twips::Width(this) - kPictureMargins);
    ArrangeButtons();

    if (vsbScrollBar->isVisibleTo(this)) {
        const int barWidth = twips::Width(vsbScrollBar);
        setWidth(picSubfolders, twips::Width(picSubfolders) - barWidth);
        twips::SetGeometry(vsbScrollBar, twips::Width(this) - barWidth - 300,
                           twips::Top(picSubfolders), barWidth, twips::Height(picSubfolders));
    }

    // Each row below the one above it, as wide as the picture.
    for (int k = 1; k < chkSubfolder.size(); ++k) {
        const QCheckBox *above = chkSubfolder[k - 1];
        chkSubfolder[k]->setGeometry(above->x(), above->y() + above->height(),
                                     picSubfolders->width(), above->height());
    }
    chkSubfolder[0]->resize(picSubfolders->width(), chkSubfolder[0]->height());
}

void frmSelectSubfolders::showRows()
{
    intFirstShown = 0;
    intLastShown = intNumCheckboxesShown - 1;
    for (int k = 0; k < intNumCheckboxesShown; ++k) {
        QCheckBox *row = chkSubfolder[k];
        row->resize(picSubfolders->width(), row->height());
        row->setText(escapedCaption(FormatCheckboxCaption(survey_.strEntries[k])));
        row->show();
        row->setChecked(survey_.intChecked[k] == 1);
    }
}

void frmSelectSubfolders::ArrangeButtons()
{
    QPushButton *selectAll = cmdSelectDeselectAllSubfolders[1];
    QPushButton *deselectAll = cmdSelectDeselectAllSubfolders[0];
    const int windowWidth = twips::Width(this);

    const int buttonTop = twips::Height(this) - twips::Height(selectAll) - kBelowButtons;
    for (QPushButton *button : {selectAll, deselectAll, cmdCancel, cmdAccept})
        setTop(button, buttonTop);
    setTop(lblNumSubfolders,
           (twips::Top(picSubfolders) + twips::Height(picSubfolders) + twips::Top(cmdCancel)) / 2);

    setLeft(selectAll, twips::Left(picSubfolders));
    setLeft(deselectAll, twips::Left(selectAll) + twips::Width(selectAll) + 150);

    setLeft(cmdCancel,
            twips::Left(picSubfolders) + twips::Width(picSubfolders) - twips::Width(cmdCancel));
    setLeft(cmdAccept, twips::Left(cmdCancel) - twips::Width(cmdAccept) - 150);

    setLeft(lblNumSubfolders, twips::Left(deselectAll) + twips::Width(deselectAll) + 150);
    // The summary stops short of Accept: with buttons grown to unequal
    // widths, the width alone could run it under the button.
    const int width = windowWidth - 2 * twips::Left(selectAll) - 2 * twips::Width(deselectAll)
                      - 2 * twips::Width(cmdCancel) - 600;
    const int room = twips::Left(cmdAccept) - kButtonGap - twips::Left(lblNumSubfolders);
    setWidth(lblNumSubfolders, qMin(width, room));
}

void frmSelectSubfolders::Form_Resize()
{
    if (blnBusy)
        return;
    // The rows keep their width; the picture and the scroll bar follow the
    // window's right edge.
    int width = twips::Width(this) - 500;
    if (vsbScrollBar->isVisible()) {
        const int barWidth = twips::Width(vsbScrollBar);
        width -= barWidth;
        setLeft(vsbScrollBar, twips::Width(this) - barWidth - 300);
    }
    setWidth(picSubfolders, width);
    picSubfolders->update();
}

int frmSelectSubfolders::scrolledFirstEntry() const
{
    // A hidden scroll bar keeps whatever value it had; with every entry in
    // view the first row shows the first entry.
    const int lastStart = survey_.intNumSubfolders - intNumCheckboxesShown;
    if (vsbScrollBar->isHidden() || lastStart <= 0)
        return 0;
    return qBound(0, vsbScrollBar->value(), lastStart);
}

void frmSelectSubfolders::vsbScrollBar_Change()
{
    if (blnBusy)
        return;
    intFirstShown = scrolledFirstEntry();
    intLastShown = intFirstShown + intNumCheckboxesShown - 1;
    for (int k = 0; k < intNumCheckboxesShown; ++k)
        chkSubfolder[k]->setText(
            escapedCaption(FormatCheckboxCaption(survey_.strEntries[intFirstShown + k])));
    for (int k = 0; k < intNumCheckboxesShown; ++k)
        chkSubfolder[k]->setChecked(survey_.intChecked[intFirstShown + k] == 1);
    if (!static_cast<const PagingScrollBar *>(vsbScrollBar)->movingByKey())
        cmdAccept->setFocus();
}

void frmSelectSubfolders::chkSubfolder_Click(int index)
{
    if (blnBusy || index < 0 || index >= intNumCheckboxesShown
        || intFirstShown + index >= survey_.intNumSubfolders)
        return;
    QCheckBox *row = chkSubfolder[index];
    if (row->isChecked() && CannotBeSelected(row->text()))
        row->setChecked(false);
    survey_.intChecked[intFirstShown + index] = row->isChecked() ? 1 : 0;
    ShowSelectionSummary();
}

void frmSelectSubfolders::cmdSelectDeselectAllSubfolders_Click(int index)
{
    if (blnBusy)
        return;
    const int value = index == 1 ? 1 : 0;
    for (int k = 0; k < intNumCheckboxesShown; ++k)
        chkSubfolder[k]->setChecked(value == 1);
    for (int &checked : survey_.intChecked)
        checked = value;
    intFirstShown = scrolledFirstEntry();
    intLastShown = intFirstShown + intNumCheckboxesShown - 1;
    for (int i = 0; i < survey_.intNumSubfolders; ++i) {
        if (CannotBeSelected(survey_.strEntries[i]))
            survey_.intChecked[i] = 0;
    }
    for (int k = 0; k < intNumCheckboxesShown; ++k)
        chkSubfolder[k]->setChecked(survey_.intChecked[intFirstShown + k] == 1);
    ShowSelectionSummary();
    cmdAccept->setFocus();
}

int frmSelectSubfolders::CountCheckedSubfolders() const
{
    int count = 0;
    for (int i = 0; i < survey_.intNumSubfolders; ++i) {
        if (survey_.intChecked[i] == 1)
            ++count;
    }
    return count;
}

void frmSelectSubfolders::ShowSelectionSummary()
{
    dblTotalBytesSelected = 0;
    blnOver = false;
    const int checked = CountCheckedSubfolders();
    if (checked == 0) {
        lblNumSubfolders->setText(QStringLiteral("No subfolders selected."));
        return;
    }
    for (int i = 0; i < survey_.intNumSubfolders; ++i) {
        if (survey_.intChecked[i] != 1)
            continue;
        dblTotalBytesSelected += survey_.dblBytes[i];
        if (survey_.strEntries[i].contains(QStringLiteral("over")))
            blnOver = true;
    }

    QString text;
    if (checked == 1)
        text = QStringLiteral("One subfolder selected.");
    else if (checked == survey_.intNumSubfolders)
        text = QStringLiteral("All ") + QString::number(checked) + QStringLiteral(" subfolders selected.");
    else
        text = FormatCount(checked) + QStringLiteral(" selected (of ") + strNumSubfolders
               + QStringLiteral(").");
    if (ContainsInLowered(strCaption, u"included")) {
        text += kCrLf + QStringLiteral("A total of ");
        if (blnOver)
            text += QStringLiteral("over ");
        text += FormatByteSizeGb(dblTotalBytesSelected, 2) + u'.';
    }
    lblNumSubfolders->setText(text);
}

void frmSelectSubfolders::cmdAccept_Click()
{
    if (blnBusy)
        return;
    blnFolderSelectionAccepted = true;
    hide();
    strFoldersReturnedFromSelectFoldersForm.clear();
    blnSomeSubfolderHasSubfolders = false;
    for (int i = 0; i < survey_.intNumSubfolders; ++i) {
        if (survey_.intChecked[i] != 1)
            continue;
        const QString name = EntryName(survey_.strEntries[i]);
        strFoldersReturnedFromSelectFoldersForm += name + kCrLf;
        if (!blnSomeSubfolderHasSubfolders)
            blnSomeSubfolderHasSubfolders =
                CountSubfolders(strTopFolder + name + PathSeparator()) >= 1;
    }
    UnloadExtraCheckboxes();
}

void frmSelectSubfolders::cmdCancel_Click()
{
    blnFolderSelectionAccepted = false;
    hide();
    UnloadExtraCheckboxes();
    blnCancelRequested = true;
}

void frmSelectSubfolders::UnloadExtraCheckboxes()
{
    while (chkSubfolder.size() > 1)
        delete chkSubfolder.takeLast();
    // Without its rows the hidden window ignores everything until its next
    // show fills it again.
    blnBusy = true;
}

void frmSelectSubfolders::reject()
{
    // Escape cancels.
    cmdCancel_Click();
}

void frmSelectSubfolders::closeEvent(QCloseEvent *event)
{
    // Accept and Cancel hide the window before anything closes it; still
    // visible means the title bar's close button.
    if (isVisible()) {
        interaction_.ShowMessageBox(
            this, QStringLiteral("Please exit this window only by clicking on 'Accept' or 'Cancel'."),
            QStringLiteral("Select Folders"), Interaction::Icon::None, Interaction::Buttons::Ok,
            Interaction::Answer::Ok);
    }
    // The caller sees the cancellation it preset; a survey still running
    // stops at its next check, and the window goes once the modal show is over.
    blnCancelRequested = true;
    unloadRequested_ = true;
    event->accept();
    if (!inModalShow_)
        deleteLater();
}

void frmSelectSubfolders::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    // A new desktop font: the controls grow or shrink with it, and a filled
    // window arranges its rows and buttons again.
    if (event->type() != QEvent::FontChange || chkSubfolder.isEmpty())
        return;
    fitControls();
    if (!blnBusy)
        layOutPage();
    else
        ArrangeButtons();
}

void frmSelectSubfolders::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    // Activation sets only the height; a late notice of that must not undo
    // the narrowing for the scroll bar.
    if (event->oldSize().isValid() && event->oldSize().width() != event->size().width())
        Form_Resize();
}

bool frmSelectSubfolders::eventFilter(QObject *watched, QEvent *event)
{
    // The wheel over the rows pages like the scroll bar.
    if (watched == picSubfolders && event->type() == QEvent::Wheel && vsbScrollBar->isVisible()) {
        QCoreApplication::sendEvent(vsbScrollBar, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSelectSubfolders::ShowProgress(const QString &text)
{
    lblReading_->setText(text);
    lblReading_->show();
    if (eventIntervalMs_ == 0 || !sinceEvents_.isValid() || sinceEvents_.elapsed() >= eventIntervalMs_)
        lblReading_->repaint();
}

void frmSelectSubfolders::ProcessEvents()
{
    if (eventIntervalMs_ > 0 && sinceEvents_.isValid() && sinceEvents_.elapsed() < eventIntervalMs_)
        return;
    interaction_.ProcessEvents();
    sinceEvents_.start();
}

bool frmSelectSubfolders::CancelRequested() const
{
    return blnCancelRequested;
}

} // namespace quillan
