#pragma once
// Standard output of quillan-check: the records in the chosen format, as
// they are found, and what the run came to at the end.

#include "CheckOptions.h"
#include "OutputSink.h"

#include <QString>
#include <QStringList>
#include <QStringView>

namespace quillan::check {

// One broken link occurrence as the output shows it.
struct BrokenLinkRecord {
    QStringView page;   // relative to the top folder
    qint32 line = 0;
    QStringView link;   // the attribute's value as written
    QStringView target; // relative to the top folder
    QStringView hint;   // empty for none
};

// What a run came to.
struct RunSummary {
    QString status;       // the status line (the window's text)
    qint64 pages = 0;     // pages read (pages listed with --list)
    qint64 links = 0;     // links looked up on disk
    qint64 broken = 0;
    bool stopped = false;
    bool limitReached = false;
    QStringList warnings; // sentences
};

// How the CI formats name a page so that it names a file of the checkout:
// the top folder as the command line gave it, joined before the page.
struct RecordPlace {
    QString prefix;      // "" or a path ending with '/'
    QString baseUri;     // a relative prefix's base: the working folder as a file URI
};

class ResultStream
{
public:
    // Writes to the file descriptor `fd` (1 for standard output).
    ResultStream(OutputFormat format, int fd, RecordPlace place);

    // Before the first record of a check or of a listing.
    void BeginBrokenLinks();
    void BeginListedFiles();
    void BrokenLink(const BrokenLinkRecord &record);
    // A page was read (or could not be); its broken links came just before.
    void PageChecked(QStringView page, bool read);
    void ListedFile(QStringView page);
    // Closes the records with the summary. The formats that are documents
    // of their own leave the status line to standard error.
    void End(const RunSummary &summary);

    bool statusOnOutput() const;
    // True when the results go to a terminal (and are written at once).
    bool toTerminal() const { return sink_.toTerminal(); }
    // "" or why standard output could not be written.
    const QString &failure() const { return sink_.failure(); }

private:
    void endJson(const RunSummary &summary);
    void endSarif(const RunSummary &summary);
    void endJunit(const RunSummary &summary);

    OutputFormat format_;
    RecordPlace place_;
    OutputSink sink_;
    qint64 records_ = 0;
    // JUnit: the test cases, written once their counts are known, and the
    // failure lines of the page being read.
    QString junitCases_;
    QString pageFailures_;
    qint64 pageBroken_ = 0;
    qint64 junitTests_ = 0;
    qint64 junitFailures_ = 0;
    qint64 junitErrors_ = 0;
};

} // namespace quillan::check
