#pragma once
// The state of one scan, shared by the folder walk, the link checker, the
// report writers and the main window that owns it.

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace quillan {

// One occurrence of a broken local link.
struct BrokenLink {
    QString strLinkFrom; // full path of the page holding the link
    QString strLinkTo;   // full path the link resolves to (missing on disk)
    // Where it stands: the line of the page (from 1; CR, LF and CR LF each
    // end a line) and the attribute's value as written between its quotes.
    // The link-to report's rewrite of the two paths leaves these behind, so
    // they are to be read before it.
    qint32 line = 0;
    QString link;
};

// The pages a web server serves for a folder, in the order it tries them.
QStringList DefaultIndexPageNames();

// The window's settings that a walk reads, taken when the walk starts.
struct ScanOptions {
    QString topFolder;            // the top folder's text, ending with a separator
    // The option boxes' values: 0 unticked, 1 ticked, 2 greyed (a settings
    // file may hold 2).
    int topFolderOnly = 0;   // 1: do not descend into subfolders
    int includePhpFiles = 0; // not 0: list .php pages; 1: check links to .php files
    QString checkableFileTypes;   // space-separated target extensions
    qint32 maxNumFiles = 50000;   // most files one listing holds
    qint32 maxNumLinks = 50000;   // most broken links one check records
    int jobs = 0;                 // threads reading pages while checking; 0: one per core
    // Pages read as a browser reads them (every link of every tag) instead of
    // the classic way; with anchors, a link's "#fragment" must name an
    // element of its target page too.
    bool readAsBrowser = false;
    bool checkAnchors = false;
    // Pages that stand for a folder in the browser reading, tried in order.
    QStringList indexPageNames = DefaultIndexPageNames();
};

// What reading one page gave, besides its broken links.
struct PageReadResult {
    bool read = true;        // false: the page could not be opened or read whole
    qint32 linksChecked = 0; // local links looked up on disk
};

// Places the walk passes over without looking inside.
enum class SkippedFolder {
    Unreadable, // its entries could not be listed
    TooDeep,    // below the deepest level the walk goes to
};

// How the walk talks to whoever runs it: a window, a test or the benchmark.
class WalkHost
{
public:
    virtual ~WalkHost() = default;
    // Lets pending window events run (Stop and Quit act here).
    virtual void Yield() = 0;
    // True once the user has confirmed Stop.
    virtual bool StopRequested() const = 0;
    // Checking mode: the page the walk is looking at, relative to the top
    // folder; a view for the moment of the call (a host that shows nothing,
    // or shows it later, need make no text of it for each file).
    virtual void ShowFileBeingScanned(QStringView relativePath) = 0;
    // The status line: running counts during the walk.
    virtual void ShowStatus(const QString &text) = 0;
    // Checking mode: the broken links recorded so far, once a page's are
    // (or the limit is) reached. Shows BrokenLinksSoFarText; a host that
    // shows nothing is spared making the text.
    virtual void ShowBrokenLinksSoFar(qint32 numBrokenLinks);
    // Checking mode: a page was handed to the reader and its broken links
    // recorded. `path` is the page's full path.
    virtual void PageChecked(const QString &path, const PageReadResult &result)
    {
        Q_UNUSED(path);
        Q_UNUSED(result);
    }
    // A folder (full path) that the walk did not look into.
    virtual void FolderSkipped(const QString &path, SkippedFolder why)
    {
        Q_UNUSED(path);
        Q_UNUSED(why);
    }
};

// A host for runs without a window (the benchmark, the fuzz targets, tests):
// it shows nothing and never asks the walk to stop.
class QuietWalkHost : public WalkHost
{
public:
    void Yield() override {}
    bool StopRequested() const override { return false; }
    void ShowFileBeingScanned(QStringView) override {}
    void ShowStatus(const QString &) override {}
    void ShowBrokenLinksSoFar(qint32) override {}
};

// The scan's lists and counters. Lists that the program treats as one-based
// keep an unused entry 0.
class ScanState
{
public:
    static constexpr int kMaxFolderDepth = 128;

    bool blnListingFiles = false;
    bool blnCheckingLinks = false;
    bool blnMaxNumFilesReached = false;
    bool blnMaxNumLinksReached = false;

    // Depth of the folder being walked (1 = top folder) and the chain of
    // folders from the top down to it, each ending with a separator.
    int intFolderDepth = 0;
    std::array<QString, kMaxFolderDepth + 1> strFolderAtDepth;

    // Listing mode: entries 1..lngNumListedFiles are paths relative to the
    // top folder; entry 0 is kept for the list's header.
    QStringList strListedFiles{QString()};
    qint32 lngNumListedFiles = 0;

    // Checking mode: entries 1..lngNumBrokenLinks in the order found.
    QList<BrokenLink> brokenLinks{BrokenLink{}};
    qint32 lngNumBrokenLinks = 0;

    // Exclusions, zero-based; only the first `intNum...` entries are valid.
    QStringList strExcludedSubfolders{QString()};
    int intNumExcludedSubfolders = 0;
    QStringList strExcludedFilepaths{QString()};
    int intNumExcludedFilepaths = 0;
    QStringList strExcludedLinks{QString()};
    int intNumExcludedLinks = 0;

    void EmptyListedFiles();
    void EmptyBrokenLinks();
    // Make room for entry lngNumListedFiles / lngNumBrokenLinks, `step` at a time.
    void GrowListedFiles(int step);
    void GrowBrokenLinks(int step);
};

} // namespace quillan

// A broken link is moved as its bytes (its members are Qt's strings), so the
// table grows by reallocating in place rather than by copying every entry.
Q_DECLARE_TYPEINFO(quillan::BrokenLink, Q_RELOCATABLE_TYPE);
