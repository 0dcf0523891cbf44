#include "windows/frmView.h"

#include "text/ProgramText.h"
#include "windows/EnterPresses.h"
#include "windows/Fit.h"
#include "windows/Interaction.h"
#include "windows/Twips.h"

#include <QCloseEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTextCursor>

#include <functional>
#include <utility>

namespace quillan {

const QString frmView::kHeadNote = QStringLiteral(
    "NOTE: This file is too large to display entirely in this textbox.\r\n"
    "To view the entire contents of the file load it into NotePad,\r\n"
    "WordPad or some other text editor.\r\n\r\n");
const QString frmView::kTailNote =
    QStringLiteral("NOTE: Entire contents of file have not been displayed.\r\n");
const QString frmView::kCopyCaption = QStringLiteral("Copy to clipboard");
const QString frmView::kCopySelectedCaption = QStringLiteral("Copy selected text to clipboard");

namespace {

constexpr int kTextMargin = 105;
constexpr int kViewButtonHeight = 330;
constexpr int kCloseWidth = 1740;
constexpr int kViewButtonGap = 150;

// Error numbers and descriptions for a file that cannot be read, in the
// program's own words.
struct ReadError {
    int number;
    QString description;
};

ReadError describe(const QFile &file)
{
    if (!file.exists())
        return {53, QStringLiteral("File not found: ") + file.fileName()};
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        return {70, QStringLiteral("Permission denied: ") + file.fileName()};
    default:
        return {57, file.errorString()};
    }
}

// The text box reports a mouse button coming up only after it has handled
// the release itself: a click inside a selection clears it just then.
class ViewerTextBox : public QPlainTextEdit
{
public:
    ViewerTextBox(std::function<void()> onMouseUp, QWidget *parent)
        : QPlainTextEdit(parent), onMouseUp_(std::move(onMouseUp))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        QPlainTextEdit::mouseReleaseEvent(event);
        onMouseUp_();
    }

private:
    std::function<void()> onMouseUp_;
};

} // namespace

frmView::frmView(Interaction &interaction, const ProgramTextTable &programText, QWidget *parent)
    : QWidget(parent, Qt::Window), interaction_(interaction), programText_(programText)
{
    setWindowTitle(QStringLiteral("Viewing"));
    txbText1 = new ViewerTextBox([this] { txbText1_MouseUp(); }, this);
    txbText1->setAccessibleName(QStringLiteral("Text"));
    txbText1->setLineWrapMode(QPlainTextEdit::NoWrap);
    cmdCopyToClipboard = new QPushButton(QStringLiteral("Copy to clipboard"), this);
    cmdClose = new QPushButton(QStringLiteral("Close"), this);
    twips::SetGeometry(txbText1, kTextMargin, kTextMargin, 7500, 1000);
    twips::SetGeometry(cmdCopyToClipboard, kTextMargin, 1205, kCopyWidth, kViewButtonHeight);
    twips::SetGeometry(cmdClose, 5865, 1205, kCloseWidth, kViewButtonHeight);
    // Tab leaves the text for the buttons.
    txbText1->setTabChangesFocus(true);
    fitButtons();
    PressOnEnterInside(this);
    connect(cmdCopyToClipboard, &QPushButton::clicked, this, &frmView::cmdCopyToClipboard_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmView::cmdClose_Click);
}

void frmView::ShowModeless()
{
    show();
    raise();
    activateWindow();
    Form_Activate();
}

void frmView::PrepareForOpening(const QIcon &icon)
{
    if (isMinimized())
        showNormal();
    hide();
    setWindowIcon(icon);
}

void frmView::OpenFile(const QString &file, const QString &caption, bool copyButtonHidden,
                       int left, int top, int width, int height)
{
    const auto place = [this, left, top, width, height] {
        twips::Move(this, left, top);
        twips::Resize(this, width, height);
    };
    place();
    strFilename = file;
    setWindowTitle(caption);
    blnCopyToClipboardInvisible = copyButtonHidden;
    setTextFontSize(10);
    blnFileDisplayed = false;
    ShowModeless();
    // Sizes count the window frame, which is known once the window is shown.
    if (isVisible())
        place();
}

void frmView::setTextFontSize(int points)
{
    QFont font = txbText1->font();
    font.setPointSize(points);
    txbText1->setFont(font);
}

QString frmView::DisplayText(const QString &content)
{
    if (content.size() < kDisplayLimit)
        return content;
    const qsizetype kept = kDisplayLimit - kHeadNote.size() - kTailNote.size();
    return kHeadNote + content.left(kept) + QStringLiteral("\r\n\r\n") + kTailNote;
}

void frmView::Form_Activate()
{
    if (blnFileDisplayed)
        return;
    cmdClose->setText(QStringLiteral("Close"));
    txbText1->clear();
    setCopyCaption(false);
    cmdCopyToClipboard->setVisible(!blnCopyToClipboardInvisible);
    if (!blnCopyToClipboardInvisible)
        cmdCopyToClipboard->setEnabled(true);
    txbText1->setReadOnly(true);
    // Read-only boxes select by mouse only; a caret lets the keyboard select too.
    txbText1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Form_Resize();

    QFile file(strFilename);
    if (!file.open(QIODevice::ReadOnly)) {
        const ReadError error = describe(file);
        failLoading(QStringLiteral("Error ") + QString::number(error.number) + QStringLiteral(".  ")
                        + error.description,
                    programText_.GetProgramText(53));
        return;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        const ReadError error = describe(file);
        failLoading(QStringLiteral("Error ") + QString::number(error.number) + QStringLiteral(".  ")
                        + error.description,
                    programText_.GetProgramText(53));
        return;
    }
    if (bytes.isEmpty()) {
        failLoading(programText_.GetProgramText(17), programText_.GetProgramText(52));
        return;
    }

    QStringDecoder decoder(QStringConverter::System);
    const QString content = decoder.decode(bytes);
    // The box shows line breaks as such; files keep their CR LF.
    QString shown = DisplayText(content);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txbText1->setPlainText(shown);
    txbText1->moveCursor(QTextCursor::Start);
    txbText1->update();
    blnFileDisplayed = true;
}

void frmView::failLoading(const QString &message, const QString &title)
{
    interaction_.ShowMessageBox(this, message, title, Interaction::Icon::Exclamation,
                                Interaction::Buttons::Ok, Interaction::Answer::Ok);
    hide();
    blnFileDisplayed = true;
}

void frmView::fitButtons()
{
    // The design sizes, or what the captions need at the present font; the
    // copy button's widest caption sets the window's least width.
    const int buttonHeight = qMax(fit::Height(cmdCopyToClipboard, kViewButtonHeight),
                                  fit::Height(cmdClose, kViewButtonHeight));
    cmdClose->resize(twips::ToPixels(fit::Width(cmdClose, kCloseWidth)),
                     twips::ToPixels(buttonHeight));
    cmdCopyToClipboard->resize(cmdCopyToClipboard->width(), twips::ToPixels(buttonHeight));
    setCopyCaption(cmdCopyToClipboard->text() == kCopySelectedCaption);

    const int copyWidth = qMax(kCopySelectedWidth,
                               twips::FromPixels(fit::ButtonSizeFor(cmdCopyToClipboard,
                                                                    kCopySelectedCaption)
                                                     .width()));
    minWidth_ = qMax(kMinWidth, 450 + copyWidth + kViewButtonGap + twips::Width(cmdClose));
    minHeight_ = kMinHeight + heightGrowth();
    setMinimumSize(twips::ToPixels(minWidth_) - (frameGeometry().width() - width()),
                   twips::ToPixels(minHeight_) - (frameGeometry().height() - height()));
}

int frmView::heightGrowth() const
{
    // The room below the text holds taller buttons as the font grows.
    return qMax(0, twips::Height(cmdClose) - kViewButtonHeight);
}

void frmView::Form_Resize()
{
    if (isMinimized())
        return;
    int width = twips::Width(this);
    int height = twips::Height(this);
    if (width < minWidth_ || height < minHeight_) {
        width = qMax(width, minWidth_);
        height = qMax(height, minHeight_);
        twips::Resize(this, width, height);
    }
    const int textLeft = twips::Left(txbText1);
    const int textTop = twips::Top(txbText1);
    const int textWidth = width - 450;
    const int textHeight = height - 1200 - heightGrowth();
    twips::SetGeometry(txbText1, textLeft, textTop, textWidth, textHeight);
    const int buttonTop = textTop + textHeight + 100;
    twips::Move(cmdCopyToClipboard, textLeft, buttonTop);
    twips::Move(cmdClose, textLeft + textWidth - twips::Width(cmdClose), buttonTop);
}

void frmView::setCopyCaption(bool selected)
{
    cmdCopyToClipboard->setText(selected ? kCopySelectedCaption : kCopyCaption);
    // The design width, or wider where the caption needs it.
    const int width = fit::Width(cmdCopyToClipboard, selected ? kCopySelectedWidth : kCopyWidth);
    cmdCopyToClipboard->resize(twips::ToPixels(width), cmdCopyToClipboard->height());
}

void frmView::txbText1_MouseUp()
{
    if (!cmdCopyToClipboard->isVisible() || !cmdCopyToClipboard->isEnabled())
        return;
    setCopyCaption(txbText1->textCursor().hasSelection());
}

void frmView::cmdCopyToClipboard_Click()
{
    const QString all = txbText1->toPlainText();
    if (!all.isEmpty()) {
        const QTextCursor cursor = txbText1->textCursor();
        QString text = cursor.hasSelection() ? cursor.selectedText() : all;
        // A selection reports its line breaks as paragraph separators.
        text.replace(QChar::ParagraphSeparator, u'\n');
        interaction_.SetClipboardText(text);
        setCopyCaption(false);
    }
    cmdClose->setFocus();
}

void frmView::cmdClose_Click()
{
    hide();
}

void frmView::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        Form_Activate();
    // Another desktop font: the buttons take their new sizes.
    if (event->type() == QEvent::FontChange && cmdClose) {
        fitButtons();
        Form_Resize();
    }
}

void frmView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmView::closeEvent(QCloseEvent *event)
{
    blnFileDisplayed = false;
    cmdClose_Click();
    event->accept();
}

} // namespace quillan
