#pragma once
// The survey of a top folder's immediate subfolders that the selection window
// shows: one entry line per subfolder with its counts (and, when wanted, the
// bytes beneath it), sorted ignoring case.

#include <QList>
#include <QString>
#include <QStringList>

namespace quillan {

// The survey's results, indexed from 0. The lists hold at least one element
// more than `intNumSubfolders`.
struct SubfolderSurvey {
    int intNumSubfolders = 0;
    QStringList strEntries;
    QList<double> dblBytes;  // bytes beneath each subfolder; 0 without sizes
    QList<bool> blnEmpty;    // no files and no subfolders, or unreadable
    QList<int> intChecked;   // 1 selected, 0 not (filled by the window)
};

// How the survey reaches the window that runs it.
class SurveyProgress
{
public:
    virtual ~SurveyProgress() = default;
    // Replaces the progress text and repaints it at once.
    virtual void ShowProgress(const QString &text) = 0;
    // Lets pending window events run, so Cancel can be clicked.
    virtual void ProcessEvents() = 0;
    // True once the user has asked to cancel.
    virtual bool CancelRequested() const = 0;
};

struct SurveyOptions {
    bool excludeRecycleBin = true; // leave out subfolders whose path holds "$RECYCLE.BIN"
    bool omitTotalFilesize = false; // entries without byte sizes
};

enum class SurveyOutcome { Completed, TopFolderUnreadable, NoSubfolders, Cancelled };

struct SurveyResult {
    SurveyOutcome outcome = SurveyOutcome::Completed;
    QString errorDescription; // TopFolderUnreadable: the platform's description
};

// Surveys `strTopFolder`, which is given exactly one trailing separator first.
// Progress is shown after every subfolder, and a cancellation found then ends
// the survey at once.
SurveyResult SurveySubfolders(QString &strTopFolder, const SurveyOptions &options,
                              SubfolderSurvey &results, SurveyProgress &progress);

} // namespace quillan
