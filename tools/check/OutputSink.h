#pragma once
// Standard output as quillan-check writes it: text gathered and encoded in
// pieces sized for where it goes, and the first failure kept, so that a
// full disk or a reader that went away costs the output but not the run.

#include <QString>
#include <QStringConverter>
#include <QStringEncoder>

namespace quillan::check {

class OutputSink
{
public:
    OutputSink(int fd, QStringConverter::Encoding encoding);

    // The text waiting to be written; append to it, then call Written().
    QString &text() { return pending_; }
    // Writes the waiting text when it fills a piece (at once on a terminal).
    void Written();
    // Writes whatever waits.
    void Flush();

    bool toTerminal() const { return toTerminal_; }
    // "" or why the output could not be written; nothing more is written
    // after a failure.
    const QString &failure() const { return failure_; }

private:
    int fd_;
    bool toTerminal_;
    qsizetype flushSize_;
    QString pending_; // encoded when flushed
    QStringEncoder encoder_;
    QString failure_;
};

} // namespace quillan::check
