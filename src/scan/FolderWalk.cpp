#include "scan/FolderWalk.h"

#include "scan/BrowserLinkChecker.h"
#include "scan/LinkChecker.h"
#include "scan/LinkText.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include <QLocale>
#include <QThread>

#include <algorithm>
#include <utility>

namespace quillan {

int ThreadsForJobs(int jobs)
{
    // More threads than any machine has cores would only cost memory.
    constexpr int kMostJobs = 256;
    if (jobs <= 0)
        jobs = qMax(QThread::idealThreadCount(), 1);
    return qMin(jobs, kMostJobs);
}

ReadAheadLimits ReadAheadLimits::ForJobs(int jobs)
{
    jobs = ThreadsForJobs(jobs);
    if (jobs == 1)
        return {};
    // Enough pages in hand to keep every worker busy while the walk records
    // one, and few enough bytes that a site of huge pages stays small.
    constexpr int kPagesPerThread = 8;
    constexpr qint64 kBytes = qint64(64) << 20;
    constexpr int kSteps = 4096;
    // While a worker reads a page of 10 MB (20 ms read as a browser does),
    // the walking thread gets through some hundreds of a site's pages.
    constexpr int kPagesPastBusyFront = 1024;
    // The walking thread reads pages too while it waits for the next one.
    return ReadAheadLimits{jobs - 1, kPagesPerThread * jobs, kBytes, kSteps, kPagesPastBusyFront};
}

FolderWalk::FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host)
    : FolderWalk(state, options, host, MakePageReader(state, options), nullptr,
                 ReadAheadLimits::ForJobs(options.jobs))
{
}

FolderWalk::FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host,
                       const PageReader &reader, const ReadAheadLimits &limits)
    : FolderWalk(state, options, host, nullptr, &reader, limits)
{
}

FolderWalk::FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host,
                       std::unique_ptr<const PageReader> ownReader, const PageReader *reader,
                       const ReadAheadLimits &limits)
    : state_(state), options_(options), host_(host), ownReader_(std::move(ownReader)),
      reader_(reader ? *reader : *ownReader_), limits_(limits)
{
    for (int i = 0; i < state_.intNumExcludedFilepaths && i < state_.strExcludedFilepaths.size(); ++i) {
        loweredFilepathExclusions_.append(LowerCaseAccented(state_.strExcludedFilepaths[i]));
        if (loweredFilepathExclusions_.last().contains(QChar(QChar::ReplacementCharacter)))
            exclusionsHoldReplacement_ = true;
    }
    for (int i = 0; i < state_.intNumExcludedSubfolders && i < state_.strExcludedSubfolders.size(); ++i)
        loweredExcludedSubfolderPaths_.append(
            LowerCaseAccented(options_.topFolder + state_.strExcludedSubfolders[i]));
}

FolderWalk::~FolderWalk() = default;

void FolderWalk::enterFolder(const QString &strFolder, FolderIdentity identity)
{
    ++state_.intFolderDepth;
    QString entry = strFolder;
    if (state_.intFolderDepth >= 2)
        entry += PathSeparator();
    state_.strFolderAtDepth[state_.intFolderDepth] = entry;
    folderChain_.push_back(std::move(identity));
}

void FolderWalk::leaveFolder()
{
    folderChain_.pop_back();
}

void FolderWalk::WalkFolder(QString strFolder)
{
    ended_ = false;
    ahead_.clear();
    pagesAhead_ = 0;
    bytesAhead_ = 0;
    // Only checking reads pages; a listing records each file as it is met.
    if (state_.blnCheckingLinks && !state_.blnListingFiles && limits_.threads > 0)
        pool_ = std::make_unique<PageReadPool>(reader_, limits_.threads);
    FolderIdentity identity = IdentityOf(strFolder);
    walkFolder(std::move(strFolder), std::move(identity), nullptr);
    while (!ahead_.empty() && !ended_)
        recordFront();
    ahead_.clear();
    pool_.reset();
}

void FolderWalk::walkFolder(QString strFolder, FolderIdentity identity,
                            std::shared_ptr<FolderRead> listed)
{
    enterFolder(strFolder, std::move(identity));
    EnsureTrailingBackslash(strFolder);

    bool unreadable = false;
    FolderEntries entries;
    if (listed) {
        entries = std::move(listed->entries);
        unreadable = listed->unreadable;
        listed.reset();
    } else {
        entries = ReadFolderEntries(strFolder, unreadable);
    }
    if (unreadable)
        pass(Step{StepKind::FolderUnreadable, strFolder, nullptr});

    // With threads, the next few subfolders the walk will enter are listed
    // ahead of it, the first of them while this folder's pages are read.
    const QStringList &subfolders = entries.subfolders;
    std::vector<std::shared_ptr<FolderRead>> ahead;
    if (pool_ && options_.topFolderOnly != 1 && state_.intFolderDepth < ScanState::kMaxFolderDepth)
        ahead.resize(size_t(subfolders.size()));
    const qsizetype listedAhead = qMax(4, limits_.threads);
    auto listAhead = [&](qsizetype k) {
        if (k >= qsizetype(ahead.size()))
            return;
        QString subfolder = strFolder + subfolders[k];
        if (IsExcludedSubfolder(subfolder))
            return; // never touched
        ahead[size_t(k)] = std::make_shared<FolderRead>(std::move(subfolder), state_.intFolderDepth + 1, k);
        pool_->Prefetch(ahead[size_t(k)]);
    };
    for (qsizetype k = 0; k < listedAhead; ++k)
        listAhead(k);

    if (!walkFiles(strFolder, entries.files, std::move(entries.open)))
        return leaveFolder();

    if (options_.topFolderOnly == 1)
        return leaveFolder();

    for (qsizetype k = 0; k < subfolders.size(); ++k) {
        if (!pass(Step{StepKind::SubfolderNext, QString(), nullptr}))
            return leaveFolder();
        listAhead(k + listedAhead);

        const QString subfolder = strFolder + subfolders[k];
        std::shared_ptr<FolderRead> next = ahead.empty() ? nullptr : std::move(ahead[size_t(k)]);
        // One listed ahead is neither excluded nor too deep.
        if (!next && IsExcludedSubfolder(subfolder))
            continue;
        // Deeper than the folder table reaches, or a link back to a folder
        // already on the way down: not entered.
        if (state_.intFolderDepth >= ScanState::kMaxFolderDepth) {
            pass(Step{StepKind::FolderTooDeep, subfolder, nullptr});
            continue;
        }
        if (next) {
            pool_->Take(*next);
        } else {
            next = std::make_shared<FolderRead>(subfolder, state_.intFolderDepth + 1, k);
            next->Read();
        }
        FolderIdentity identity = std::move(next->identity);
        if (identity.IsEmpty()
            || std::find(folderChain_.begin(), folderChain_.end(), identity) != folderChain_.end())
            continue;

        walkFolder(subfolder, std::move(identity), std::move(next));
        state_.strFolderAtDepth[state_.intFolderDepth].clear();
        --state_.intFolderDepth;

        if (state_.blnListingFiles && state_.blnMaxNumFilesReached)
            return leaveFolder();
        if (!pass(Step{StepKind::SubfolderDone, QString(), nullptr}))
            return leaveFolder();
    }
    leaveFolder();
}

bool FolderWalk::walkFiles(const QString &folder, const QStringList &files,
                           std::shared_ptr<const OpenFolder> open)
{
    const qsizetype topLength = options_.topFolder.size();
    // The folder is held open for its files (and the pages of them read
    // ahead), not down its subfolders: from its listing, or else opened at
    // its first page or file listed.
    // The folders down to this one, the same for each of its pages: one
    // list shared by them all.
    QStringList folders;
    if (state_.blnCheckingLinks) {
        folders.reserve(state_.intFolderDepth + 1);
        for (int depth = 0; depth <= state_.intFolderDepth; ++depth)
            folders.append(state_.strFolderAtDepth[depth]);
    }
    const bool checkingOnly = state_.blnCheckingLinks && !state_.blnListingFiles;
    for (const QString &path : files) {
        // The file's path, shared: shown (relative) only as the step is recorded.
        if (!pass(Step{StepKind::FileMet, state_.blnCheckingLinks ? path : QString(), nullptr}))
            return false;

        if (IsNotTargetFile(path) || IsExcludedFilepath(path))
            continue;
        if (!open)
            open = std::make_shared<const OpenFolder>(folder);
        // A page to be read is opened here for its length and handed over
        // open, while the walk holds few enough files open.
        OpenedFile opened;
        qint64 bytes = 0;
        if (checkingOnly && pagesAhead_ < kMostPagesOpenedAhead) {
            opened = open->Open(path);
            bytes = opened.Length();
        } else {
            bytes = open->FileLength(path);
        }
        if (bytes < 1)
            continue;

        if (state_.blnListingFiles) {
            ++state_.lngNumListedFiles;
            state_.GrowListedFiles(100);
            state_.strListedFiles[state_.lngNumListedFiles] = path.mid(topLength);
            host_.ShowStatus(ListingProgressText(state_.lngNumListedFiles));
            if (state_.lngNumListedFiles >= options_.maxNumFiles) {
                state_.blnMaxNumFilesReached = true;
                return false;
            }
        } else if (state_.blnCheckingLinks) {
            if (!passPage(path, bytes, folders, open, std::move(opened)))
                return false;
        }

        if (!pass(Step{StepKind::FileDone, QString(), nullptr}))
            return false;
    }
    return true;
}

bool FolderWalk::pass(Step step)
{
    if (ended_)
        return false;
    if (!pool_) {
        record(step);
        return !ended_;
    }
    while (!ahead_.empty() && int(ahead_.size()) >= limits_.steps) {
        recordFront();
        if (ended_)
            return false;
    }
    ahead_.push_back(std::move(step));
    return true;
}

bool FolderWalk::passPage(const QString &page, qint64 bytes, const QStringList &folders,
                          const std::shared_ptr<const OpenFolder> &folder, OpenedFile opened)
{
    if (ended_)
        return false;
    PageToRead toRead{page, folders, folder, std::move(opened)};

    if (!pool_) {
        found_.clear();
        const PageReadResult result = reader_.ReadPage(toRead, found_);
        recordLinks(page, result, found_);
        return !ended_;
    }
    // A page that would take the pages in hand over a limit waits for room;
    // one larger than the byte limit waits until it is the only one.
    auto full = [&] {
        return int(ahead_.size()) >= limits_.steps || pagesAhead_ >= limits_.pages
               || (pagesAhead_ > 0 && bytesAhead_ + bytes > limits_.bytes);
    };
    while (!ahead_.empty() && full() && !mayPassBusyFront(bytes)) {
        recordFront();
        if (ended_)
            return false;
    }
    auto read = std::make_shared<PageRead>();
    read->page = std::move(toRead);
    read->bytes = bytes;
    if (!spareFound_.empty()) {
        read->found = std::move(spareFound_.back());
        spareFound_.pop_back();
    }
    pool_->Submit(read);
    ++pagesAhead_;
    bytesAhead_ += bytes;
    ahead_.push_back(Step{StepKind::PageRead, QString(), std::move(read), bytes});
    return true;
}

bool FolderWalk::mayPassBusyFront(qint64 bytes)
{
    if (pagesAhead_ >= limits_.pagesPastBusyFront || int(ahead_.size()) >= limits_.steps
        || bytesAhead_ + bytes > limits_.bytes)
        return false;
    const Step &front = ahead_.front();
    // The pages queued are read here first: only a page being read by another
    // thread lets the walk on.
    return front.kind == StepKind::PageRead && !pool_->TryFinish(*front.read);
}

void FolderWalk::showFileBeingScanned(const QString &path)
{
    // As the user would read it: relative, and any bytes of the name the
    // locale could not decode shown as such.
    const QStringView relative = QStringView(path).sliced(options_.topFolder.size());
    if (HoldsUndecodedBytes(relative))
        host_.ShowFileBeingScanned(DisplayName(relative.toString()));
    else
        host_.ShowFileBeingScanned(relative);
}

void FolderWalk::recordFront()
{
    Step step = std::move(ahead_.front());
    ahead_.pop_front();
    record(step);
}

void FolderWalk::record(Step &step)
{
    switch (step.kind) {
    case StepKind::FileMet:
        if (state_.blnCheckingLinks)
            showFileBeingScanned(step.shown);
        host_.Yield();
        ended_ = host_.StopRequested();
        break;
    case StepKind::PageRead:
        --pagesAhead_;
        bytesAhead_ -= step.bytes;
        pool_->Finish(*step.read);
        recordLinks(step.read->page.path, step.read->result, step.read->found);
        recycleFound(step.read->found);
        break;
    case StepKind::FileDone:
    case StepKind::SubfolderNext:
        host_.Yield();
        ended_ = host_.StopRequested();
        break;
    case StepKind::SubfolderDone:
        ended_ = host_.StopRequested();
        break;
    case StepKind::FolderUnreadable:
        host_.FolderSkipped(step.shown, SkippedFolder::Unreadable);
        break;
    case StepKind::FolderTooDeep:
        host_.FolderSkipped(step.shown, SkippedFolder::TooDeep);
        break;
    }
}

void FolderWalk::recycleFound(std::vector<BrokenLink> &found)
{
    // Kept as many as the pages in hand, and none grown large by one page.
    constexpr size_t kMostKeptLinks = 64;
    found.clear();
    if (found.capacity() == 0 || found.capacity() > kMostKeptLinks
        || int(spareFound_.size()) > limits_.pages)
        return;
    spareFound_.push_back(std::move(found));
}

void FolderWalk::recordLinks(const QString &page, const PageReadResult &result,
                             std::vector<BrokenLink> &found)
{
    for (BrokenLink &link : found) {
        ++state_.lngNumBrokenLinks;
        state_.GrowBrokenLinks(100);
        state_.brokenLinks[state_.lngNumBrokenLinks] = std::move(link);
        if (state_.lngNumBrokenLinks >= options_.maxNumLinks) {
            state_.blnMaxNumLinksReached = true;
            ended_ = true;
            break;
        }
    }
    // The status line is drawn only between pages: the count is shown once
    // a page's links are in, not made into a text for each of them.
    if (!found.empty())
        host_.ShowBrokenLinksSoFar(state_.lngNumBrokenLinks);
    host_.PageChecked(page, result);
}

bool FolderWalk::IsNotTargetFile(QStringView path) const
{
    return !IsPageFileName(path, options_.includePhpFiles);
}

bool FolderWalk::IsExcludedFilepath(const QString &path) const
{
    // A string copied from a list that shows an undecodable name holds the
    // replacement character, so it is matched against the name as shown.
    const QString &matched = exclusionsHoldReplacement_ ? DisplayName(path) : path;
    for (const QString &exclusion : loweredFilepathExclusions_) {
        if (ContainsInLowered(matched, exclusion))
            return true;
    }
    return false;
}

bool FolderWalk::IsExcludedSubfolder(const QString &subfolderPath) const
{
    if (loweredExcludedSubfolderPaths_.isEmpty())
        return false;
    // Excluded names come from the selection window and settings files,
    // which show names as DisplayName does.
    const QString lowered = LowerCaseAccented(DisplayName(subfolderPath));
    return loweredExcludedSubfolderPaths_.contains(lowered);
}

QString ListingProgressText(qint32 numListedFiles)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return QStringLiteral("Number of files so far: ") + locale.toString(numListedFiles);
}

} // namespace quillan
