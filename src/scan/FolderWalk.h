#pragma once
// The recursive walk of the top folder that selects the site's pages: in
// listing mode it lists them, in checking mode it has each one read and
// records its broken links.

#include "scan/BrowserLinkChecker.h"
#include "scan/PageReadPool.h"
#include "scan/PageReader.h"
#include "scan/ScanState.h"
#include "util/NativeName.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <deque>
#include <memory>
#include <vector>

namespace quillan {

// The threads `jobs` asks for (0: one per core), at least one.
int ThreadsForJobs(int jobs);

// How far the walk may have pages read ahead of the one it is recording.
struct ReadAheadLimits {
    int threads = 0;  // workers reading pages beside the walking thread; 0: each
                      // page is read on the walking thread as it is recorded
    int pages = 0;    // pages handed out and not yet recorded
    qint64 bytes = 0; // their sizes together; a larger page waits to be read alone
    int steps = 0;    // files and folders met and not yet recorded
    // Pages in hand while the page to be recorded next is read by another
    // thread and no page in hand is left to be read: the walking thread goes
    // on and reads the pages after it rather than wait (a page of megabytes
    // takes a worker many milliseconds). One below `pages` lets none pass.
    int pagesPastBusyFront = 0;

    // The limits for `jobs` threads reading pages; 0 gives one per core.
    static ReadAheadLimits ForJobs(int jobs);
};

class FolderWalk
{
public:
    // Reads pages in the classic way, with as many threads as options.jobs asks.
    FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host);
    FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host,
               const PageReader &reader, const ReadAheadLimits &limits);
    ~FolderWalk();

    // Walks `strFolder` (the top folder's text) and, depth first, its
    // subfolders: a folder's files before its subfolders, each in name
    // order. The host sees every file and every count in that order
    // whatever the number of threads; pages read ahead of a stop or of the
    // link limit are dropped, and no read outlives the call.
    void WalkFolder(QString strFolder);

    // The file-selection rules, each given the file's full path.
    bool IsNotTargetFile(QStringView path) const;
    bool IsExcludedFilepath(const QString &path) const;
    // `subfolderPath` is the top folder's text followed by a subfolder name.
    bool IsExcludedSubfolder(const QString &subfolderPath) const;

private:
    // What the walk does in its order that the host sees or that records.
    enum class StepKind {
        FileMet,       // a file is shown (checking mode), then a yield and a stop test
        PageRead,      // a page's broken links are recorded
        FileDone,      // a yield and a stop test after a selected file
        SubfolderNext, // a yield and a stop test before a subfolder
        SubfolderDone, // a stop test after a subfolder's walk
        FolderUnreadable, // a folder whose entries could not be listed is told of
        FolderTooDeep,    // a folder below the deepest level is told of
    };
    struct Step {
        StepKind kind;
        QString shown; // FileMet in checking mode: the file's path; the folder of FolderUnreadable/TooDeep
        std::shared_ptr<PageRead> read;  // PageRead
        qint64 bytes = 0;                // PageRead: the page's size
    };

    FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host,
               std::unique_ptr<const PageReader> ownReader, const PageReader *reader,
               const ReadAheadLimits &limits);

    // `listed`: the folder's listing made ahead of the walk, or null.
    void walkFolder(QString strFolder, FolderIdentity identity, std::shared_ptr<FolderRead> listed);
    void enterFolder(const QString &strFolder, FolderIdentity identity);
    void leaveFolder();
    // The folder's files in order, `open` the folder held open from its
    // listing (or null); false when the walk is to end.
    bool walkFiles(const QString &folder, const QStringList &files,
                   std::shared_ptr<const OpenFolder> open);
    // Each false once the walk has ended (stopped, or at the link limit),
    // as recorded so far.
    bool pass(Step step);
    bool passPage(const QString &page, qint64 bytes, const QStringList &folders,
                  const std::shared_ptr<const OpenFolder> &folder, OpenedFile opened);
    void record(Step &step);
    void recordFront();
    // Tells the host of the file at `path` (full), as FileMet does.
    void showFileBeingScanned(const QString &path);
    // Records one page's broken links in the order found, up to the limit.
    void recordLinks(const QString &page, const PageReadResult &result,
                     std::vector<BrokenLink> &found);
    // Keeps a recorded page's list, emptied, for a page to be read.
    void recycleFound(std::vector<BrokenLink> &found);
    // Whether the walk may hand out a page of `bytes` past the page limit
    // rather than record the front page (see pagesPastBusyFront).
    bool mayPassBusyFront(qint64 bytes);

    ScanState &state_;
    const ScanOptions &options_;
    WalkHost &host_;
    std::unique_ptr<const PageReader> ownReader_; // when the walk made its own
    const PageReader &reader_;
    ReadAheadLimits limits_;
    std::unique_ptr<PageReadPool> pool_; // during WalkFolder, with threads
    std::deque<Step> ahead_;             // met, not yet recorded
    int pagesAhead_ = 0;
    // Pages in hand beyond this many are not opened by the walk: the files
    // it holds open stay far below what a process may hold, at any --jobs.
    static constexpr int kMostPagesOpenedAhead = 64;
    qint64 bytesAhead_ = 0;
    bool ended_ = false;
    std::vector<BrokenLink> found_; // one page's broken links, read on this thread
    // The lists of broken links of pages recorded, emptied, for pages to be
    // read: made and freed here, not by the threads that fill them, whose
    // frees of this thread's memory would wait on the allocator's locks.
    std::vector<std::vector<BrokenLink>> spareFound_;
    QStringList loweredFilepathExclusions_;
    bool exclusionsHoldReplacement_ = false;
    QStringList loweredExcludedSubfolderPaths_;
    // The folders from the top down to the one being walked,
    // so a link back up the chain is not followed round and round.
    std::vector<FolderIdentity> folderChain_;
};

// The status line while listing: "Number of files so far: 1,234".
QString ListingProgressText(qint32 numListedFiles);

} // namespace quillan
