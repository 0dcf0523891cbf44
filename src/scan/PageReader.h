#pragma once
// How the walk has a page read. The walk finds the pages and records what
// they hold in its own order; a reader only reads one page and says which of
// its links are broken, so pages can be read in any order, or side by side.

#include "scan/ScanState.h"
#include "util/FileProc.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace quillan {

// A page as the walk hands it over.
struct PageToRead {
    QString path; // full path, as the walk found it
    // The folders from the top folder down to the page's own: entry 1 is the
    // top folder, entry Depth() the page's folder; each ends with a
    // separator. Entry 0 is unused.
    QStringList folders;
    // The page's folder held open while its pages are read, or null.
    std::shared_ptr<const OpenFolder> openFolder;
    // The page itself when the walk opened it to learn its length; read
    // (and closed) by the one reader that has the page.
    mutable OpenedFile opened;

    int Depth() const { return int(folders.size()) - 1; }

    // The page's bytes (ReadWholeFile): from the file the walk opened, else
    // through its open folder when it has one.
    bool ReadBytes(QByteArray &content) const
    {
        if (opened.IsOpen())
            return opened.ReadWhole(content);
        return openFolder ? openFolder->ReadWholeFile(path, content) : ReadWholeFile(path, content);
    }
};

class PageReader
{
public:
    virtual ~PageReader() = default;

    // Reads `page` and appends each broken link it holds to `found`, in the
    // order they stand in the page. A page that cannot be read gives what
    // was found before the error, and says it was not read. Safe to call for
    // several pages at once from several threads: a reader changes nothing
    // but `found`.
    virtual PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const = 0;
};

} // namespace quillan
