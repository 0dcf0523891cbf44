#include "scan/FolderWalk.h"

#include "scan/BrowserLinkChecker.h"
#include "scan/LinkChecker.h"
#include "scan/LinkText.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include <QLocale>

#include <algorithm>
#include <system_error>
#include <utility>

namespace quillan {

namespace fs = std::filesystem;

namespace {

struct FolderEntries {
    QStringList files;      // full paths
    QStringList subfolders; // names
};

// The folder's regular files (links followed, hidden ones included) and its
// subfolders, each sorted by name in UTF-16 code-unit order. Names are read
// as bytes, so a name the locale cannot decode is still found and opened. A
// folder that cannot be read gives nothing.
FolderEntries readFolder(const QString &folder)
{
    FolderEntries entries;
    std::error_code ec;
    fs::directory_iterator it(ToNativePath(folder), ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry &entry = *it;
        std::error_code typeError;
        if (entry.is_regular_file(typeError))
            entries.files.append(FromNativePath(entry.path().filename()));
        else if (!typeError && entry.is_directory(typeError))
            entries.subfolders.append(FromNativePath(entry.path().filename()));
    }
    std::sort(entries.files.begin(), entries.files.end());
    std::sort(entries.subfolders.begin(), entries.subfolders.end());
    for (QString &file : entries.files)
        file.prepend(folder);
    return entries;
}

} // namespace

FolderWalk::FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host)
    : state_(state), options_(options), host_(host), reader_(MakePageReader(state, options))
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

bool FolderWalk::enterFolder(const QString &strFolder)
{
    ++state_.intFolderDepth;
    QString entry = strFolder;
    if (state_.intFolderDepth >= 2)
        entry += PathSeparator();
    state_.strFolderAtDepth[state_.intFolderDepth] = entry;
    realPathChain_.push_back(RealPathOf(strFolder));
    return true;
}

void FolderWalk::leaveFolder()
{
    realPathChain_.pop_back();
}

void FolderWalk::WalkFolder(QString strFolder)
{
    enterFolder(strFolder);
    EnsureTrailingBackslash(strFolder);

    const FolderEntries entries = readFolder(strFolder);
    const qsizetype topLength = options_.topFolder.size();

    for (const QString &path : entries.files) {
        if (state_.blnCheckingLinks)
            host_.ShowFileBeingScanned(DisplayName(path.mid(topLength)));
        host_.Yield();
        if (host_.StopRequested())
            return leaveFolder();

        if (IsNotTargetFile(path) || IsExcludedFilepath(path) || !IsNonEmptyFile(path))
            continue;

        if (state_.blnListingFiles) {
            ++state_.lngNumListedFiles;
            state_.GrowListedFiles(100);
            state_.strListedFiles[state_.lngNumListedFiles] = path.mid(topLength);
            host_.ShowStatus(ListingProgressText(state_.lngNumListedFiles));
            if (state_.lngNumListedFiles >= options_.maxNumFiles) {
                state_.blnMaxNumFilesReached = true;
                return leaveFolder();
            }
        } else if (state_.blnCheckingLinks) {
            checkLinksInFile(path);
            if (state_.blnMaxNumLinksReached)
                return leaveFolder();
        }

        host_.Yield();
        if (host_.StopRequested())
            return leaveFolder();
    }

    if (options_.topFolderOnly == 1)
        return leaveFolder();

    for (const QString &name : entries.subfolders) {
        host_.Yield();
        if (host_.StopRequested())
            return leaveFolder();

        const QString subfolder = strFolder + name;
        if (IsExcludedSubfolder(subfolder))
            continue;
        // Deeper than the folder table reaches, or a link back to a folder
        // already on the way down: not entered.
        if (state_.intFolderDepth >= ScanState::kMaxFolderDepth)
            continue;
        const fs::path realPath = RealPathOf(subfolder);
        if (realPath.empty()
            || std::find(realPathChain_.begin(), realPathChain_.end(), realPath) != realPathChain_.end())
            continue;

        WalkFolder(subfolder);
        state_.strFolderAtDepth[state_.intFolderDepth].clear();
        --state_.intFolderDepth;

        const bool limitReached = state_.blnListingFiles ? state_.blnMaxNumFilesReached
                                                         : state_.blnMaxNumLinksReached;
        if (limitReached || host_.StopRequested())
            return leaveFolder();
    }
    leaveFolder();
}

void FolderWalk::checkLinksInFile(const QString &page)
{
    PageToRead toRead{page, QStringList()};
    toRead.folders.reserve(state_.intFolderDepth + 1);
    for (int depth = 0; depth <= state_.intFolderDepth; ++depth)
        toRead.folders.append(state_.strFolderAtDepth[depth]);
    found_.clear();
    reader_->ReadPage(toRead, found_);
    for (BrokenLink &link : found_) {
        ++state_.lngNumBrokenLinks;
        state_.GrowBrokenLinks(100);
        state_.brokenLinks[state_.lngNumBrokenLinks] = std::move(link);
        host_.ShowStatus(BrokenLinksSoFarText(state_.lngNumBrokenLinks));
        if (state_.lngNumBrokenLinks >= options_.maxNumLinks) {
            state_.blnMaxNumLinksReached = true;
            break;
        }
    }
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

bool FolderWalk::IsNonEmptyFile(const QString &path)
{
    return FileLength(path) >= 1;
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
