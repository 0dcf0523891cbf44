#pragma once
// The modal window in which the user ticks top subfolders. The caller sets
// the public variables, calls ShowModal and reads the result variables when
// it returns. However many subfolders there are, only intMaxNumCheckboxes
// rows exist; the scroll bar pages the entries through them.

#include "subfolders/SubfolderSurvey.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;

namespace quillan {

class Interaction;

class frmSelectSubfolders : public QDialog, private SurveyProgress
{
    Q_OBJECT

public:
    frmSelectSubfolders(Interaction &interaction, QWidget *parent = nullptr);

    // --- The window's interface -----------------------------------------------
    bool blnExcludeRecycleBin = true;       // leave out "$RECYCLE.BIN" folders
    bool blnOver = false;                   // some selected entry holds "over"
    bool blnSomeSubfolderHasSubfolders = false; // set by Accept
    bool blnOmitTotalFilesize = false;      // entries without byte sizes
    bool blnFolderSelectionAccepted = false; // True after Accept
    int intMaxNumCheckboxes = 13;           // number of rows
    int intNullContentImplies = 0;          // kept for callers; not read here
    double dblTotalBytesSelected = 0;       // bytes of the selected entries
    qint32 lngBackColor = -1;               // 0x00BBGGRR, or -1 for the default colours
    qint32 lngLabelForeColor = 0;           // summary text colour with lngBackColor
    QString strCaption;
    QString strTopFolder;
    QString strFoldersPassedToSelectFoldersForm;    // names to tick, CR LF separated
    QString strFoldersReturnedFromSelectFoldersForm; // each ticked name and CR LF

    // --- Controls ---------------------------------------------------------------
    QWidget *picSubfolders = nullptr;
    QList<QCheckBox *> chkSubfolder; // element 0 always exists
    QScrollBar *vsbScrollBar = nullptr;
    QLabel *lblNumSubfolders = nullptr;
    // Index 1 "Select all", index 0 "Deselect all".
    std::array<QPushButton *, 2> cmdSelectDeselectAllSubfolders{};
    QPushButton *cmdAccept = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Shows the window modally: activation first, then the window's own event
    // loop until Accept, Cancel or the title bar ends it. A window closed from
    // its title bar deletes itself afterwards.
    void ShowModal();

    // --- Event handlers -----------------------------------------------------------
    void Form_Activate();
    void Form_Resize();
    void vsbScrollBar_Change();
    void chkSubfolder_Click(int index);
    void cmdSelectDeselectAllSubfolders_Click(int index);
    void cmdAccept_Click();
    void cmdCancel_Click();

    // --- Read-only views of the window's state -----------------------------------
    bool isBusy() const { return blnBusy; }
    const SubfolderSurvey &survey() const { return survey_; }
    int numCheckboxesShown() const { return intNumCheckboxesShown; }
    int firstShown() const { return intFirstShown; }

    // How often the survey lets window events run, in milliseconds (0: after
    // every subfolder, as the tests want).
    void setEventInterval(int milliseconds) { eventIntervalMs_ = milliseconds; }

    // The height of one row at the design font, in twips; a larger font
    // makes the rows taller.
    static constexpr int kRowHeight = 300;

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    // SurveyProgress: how the survey reaches this window.
    void ShowProgress(const QString &text) override;
    void ProcessEvents() override;
    bool CancelRequested() const override;

    void createControls();
    void fitControls();
    QStringList summarySamples() const;
    int neededWidth() const;
    int heightBelowRows() const;
    void layOutPage();
    void appendRow(QCheckBox *row);
    int scrolledFirstEntry() const;
    void applyColours();
    void preselect();
    void loadRows();
    void showRows();
    void ArrangeButtons();
    void ShowSelectionSummary();
    int CountCheckedSubfolders() const;
    void UnloadExtraCheckboxes();

    Interaction &interaction_;
    QLabel *lblReading_ = nullptr; // the reading progress inside picSubfolders

    bool blnBusy = true;
    bool blnCancelRequested = false;
    bool inModalShow_ = false;
    bool unloadRequested_ = false;
    SubfolderSurvey survey_;
    QStringList strPassedNames;
    int intNumPassedNames = 0;
    int intNumCheckboxesShown = 0;
    int intFirstShown = 0;
    int intLastShown = 0;
    QString strNumSubfolders;

    int eventIntervalMs_ = 20;
    QElapsedTimer sinceEvents_;
};

} // namespace quillan
