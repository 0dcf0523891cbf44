#pragma once
// The folder quillan-check writes its files to. It is made and tried before
// the scan, so a problem with it costs no time; it is locked for the whole
// run, so two runs into one folder take turns; each file is written beside
// its final name and renamed into place, so a reader never sees half of
// one; and with --out it is left holding the files of this run only.

#include <QString>
#include <QStringList>

#include <functional>

namespace quillan::check {

class OutputFolder
{
public:
    OutputFolder() = default;
    ~OutputFolder();
    OutputFolder(const OutputFolder &) = delete;
    OutputFolder &operator=(const OutputFolder &) = delete;

    // Makes `folder` when missing, takes its lock (waiting for another run
    // that holds it, `waiting` told first) and tries a file in it. "" or
    // what went wrong, with the system's reason.
    QString Open(const QString &folder, const std::function<void()> &waiting);

    // Where file `name` is written before it is put in place.
    QString PartialPath(const QString &name) const;
    // Puts the written file `name` in place; "" or why it failed.
    QString Commit(const QString &name);
    // Drops what was written of `name`.
    void Discard(const QString &name);
    // Removes those of `names` this run did not put in place.
    void RemoveOthers(const QStringList &names);

    QString FinalPath(const QString &name) const;

private:
    QString folder_; // ends with a separator
    int lockFd_ = -1;
    QStringList committed_;
};

} // namespace quillan::check
