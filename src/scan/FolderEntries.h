#pragma once
// One folder's entries as the walk takes them, and the same listing asked
// for ahead of the walk, to be made on a thread that reads pages.

#include "util/FileProc.h"
#include "util/NativeName.h"

#include <QString>
#include <QStringList>

#include <exception>
#include <memory>

namespace quillan {

struct FolderEntries {
    QStringList files;      // full paths
    QStringList subfolders; // names
    // The folder held open from its listing on, to open its files by: where
    // the system allows, and only while it holds files.
    std::shared_ptr<const OpenFolder> open;
};

// The folder's regular files (links followed, hidden ones included) and its
// subfolders, each sorted by name in UTF-16 code-unit order. Names are read
// as bytes, so a name the locale cannot decode is still found and opened. A
// folder that cannot be read gives nothing and sets `unreadable`.
// `folder` ends with a separator. With `identity`, says who the folder is on
// disk too (empty when it is no folder one can reach), from the same
// opening of it where it can be opened.
FolderEntries ReadFolderEntries(const QString &folder, bool &unreadable,
                                FolderIdentity *identity = nullptr);

// A subfolder the walk will enter soon: who it is on disk (to tell a link
// back up the walk), then, when it is someone, its entries.
struct FolderRead {
    // `depth` and `index` place the folder in the walk: its depth, and its
    // place among its parent's subfolders.
    FolderRead(QString subfolder, int depth, qsizetype index)
        : path(std::move(subfolder)), depth(depth), index(index)
    {
    }

    // Fills in the rest from the disk.
    void Read();

    QString path; // as the walk names it, without a closing separator
    int depth = 0;
    qsizetype index = 0;
    FolderIdentity identity;
    FolderEntries entries;
    bool unreadable = false;

private:
    friend class PageReadPool;
    enum class Progress { Queued, Reading, Done };
    Progress progress = Progress::Queued; // guarded by the pool's lock
    std::exception_ptr error;             // what reading threw, if it did
};

} // namespace quillan
