#pragma once
// Standard output of quillan-check: the records in the chosen format, as
// they are found, and the summary line last.

#include "CheckOptions.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>

namespace quillan::check {

// One broken link occurrence as the output shows it.
struct BrokenLinkRecord {
    QString page;   // relative to the top folder
    qint32 line = 0;
    QString link;   // the attribute's value as written
    QString target; // relative to the top folder
    QString hint;   // "" for none
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
    void ListedFile(const QString &page);
    // Closes the records and writes the summary line.
    void End(const QString &summary);

private:
    void append(const QString &text);
    void flushWhenFull();
    void flush();

    OutputFormat format_;
    int fd_;
    bool lineBuffered_ = false; // a terminal sees each record at once
    qsizetype records_ = 0;
    QByteArray buffer_;
    QStringEncoder localeEncoder_{QStringConverter::System};
};

// A JSON string literal, quotes included.
QString JsonString(const QString &text);
// A TSV field: backslash, tab, line feed and carriage return escaped as \\,
// \t, \n and \r.
QString TsvField(const QString &text);

} // namespace quillan::check
