#pragma once
// A read-only viewer of one text file (the list of files, a report or the
// help text), with copying to the clipboard. The main window owns two.

#include <QWidget>

class QIcon;
class QPlainTextEdit;
class QPushButton;

namespace quillan {

class Interaction;
class ProgramTextTable;

class frmView : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDisplayLimit = 65530;
    static constexpr int kMinWidth = 8000;  // twips
    static constexpr int kMinHeight = 2000; // twips
    // The copy button's least widths; a caption that needs more gets more.
    static constexpr int kCopyWidth = 3270;
    static constexpr int kCopySelectedWidth = 4425;
    static const QString kHeadNote;
    static const QString kTailNote;
    static const QString kCopyCaption;
    static const QString kCopySelectedCaption;

    frmView(Interaction &interaction, const ProgramTextTable &programText,
            QWidget *parent = nullptr);

    // Set by the opener before it shows the window.
    QString strFilename;
    bool blnFileDisplayed = false;
    bool blnCopyToClipboardInvisible = false;

    QPlainTextEdit *txbText1 = nullptr;
    QPushButton *cmdCopyToClipboard = nullptr;
    QPushButton *cmdClose = nullptr;

    // Shows the window without blocking, brings it to the front and, when
    // asked for (blnFileDisplayed False), loads the file.
    void ShowModeless();

    // What every opener does first: a minimised window is restored, the
    // window hidden and given the opener's icon.
    void PrepareForOpening(const QIcon &icon);
    // Places the window (twips), sets it up to show `file` under `caption`
    // in 10-point text, with or without the copy button, and shows it.
    void OpenFile(const QString &file, const QString &caption, bool copyButtonHidden, int left,
                  int top, int width, int height);
    void setTextFontSize(int points);

    void Form_Activate();
    void Form_Resize();
    void txbText1_MouseUp();
    void cmdCopyToClipboard_Click();
    void cmdClose_Click();

    // The text a file of this content is shown as: whole below the display
    // limit, otherwise cut and framed by the two notes.
    static QString DisplayText(const QString &content);

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void setCopyCaption(bool selected);
    void fitButtons();
    int heightGrowth() const;
    void failLoading(const QString &message, const QString &title);

    Interaction &interaction_;
    const ProgramTextTable &programText_;
    int minWidth_ = kMinWidth;   // twips
    int minHeight_ = kMinHeight; // twips
};

} // namespace quillan
