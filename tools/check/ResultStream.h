#pragma once
// Standard output of quillan-check: the records in the chosen format, as
// they are found, and the summary line last.

#include "CheckOptions.h"

#include <QString>
#include <QStringEncoder>
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

class ResultStream
{
public:
    // Writes to the file descriptor `fd` (1 for standard output).
    ResultStream(OutputFormat format, int fd);

    // Before the first record of a check or of a listing.
    void BeginBrokenLinks();
    void BeginListedFiles();
    void BrokenLink(const BrokenLinkRecord &record);
    void ListedFile(QStringView page);
    // Closes the records and writes the summary line.
    void End(const QString &summary);

    // True when the results go to a terminal (and are written at once).
    bool toTerminal() const { return lineBuffered_; }

private:
    void flushWhenFull();
    void flush();

    OutputFormat format_;
    int fd_;
    bool lineBuffered_ = false; // a terminal sees each record at once
    qsizetype flushSize_;
    qsizetype records_ = 0;
    QString pending_; // encoded when flushed
    QStringEncoder encoder_;
};

// Appends a JSON string literal, quotes included.
void AppendJsonString(QString &out, QStringView text);
// Appends a TSV field: backslash, tab, line feed and carriage return escaped
// as \\, \t, \n and \r.
void AppendTsvField(QString &out, QStringView text);

} // namespace quillan::check
