#include "scan/FolderWalk.h"

#include "util/FileProc.h"
#include "util/StrProc.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace quillan {

namespace {

struct FolderFile {
    QString path;   // full path
    QFileInfo info; // stats the file once, when its size is first asked for
};

struct FolderEntries {
    QList<FolderFile> files;
    QStringList subfolders; // names
};

// The folder's regular files (links followed, hidden ones included) and its
// subfolders, each sorted by name in UTF-16 code-unit order. A folder that
// cannot be read gives nothing.
FolderEntries readFolder(const QString &folder)
{
    FolderEntries entries;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isDir())
            entries.subfolders.append(info.fileName());
        else if (info.isFile())
            entries.files.append(FolderFile{info.fileName(), info});
    }
    std::sort(entries.files.begin(), entries.files.end(),
              [](const FolderFile &a, const FolderFile &b) { return a.path < b.path; });
    std::sort(entries.subfolders.begin(), entries.subfolders.end());
    for (FolderFile &file : entries.files)
        file.path.prepend(folder);
    return entries;
}

} // namespace

FolderWalk::FolderWalk(ScanState &state, const ScanOptions &options, WalkHost &host)
    : state_(state), options_(options), host_(host), checker_(state, options, host)
{
    for (int i = 0; i < state_.intNumExcludedFilepaths && i < state_.strExcludedFilepaths.size(); ++i)
        loweredFilepathExclusions_.append(LowerCaseAccented(state_.strExcludedFilepaths[i]));
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
    realPathChain_.push_back(QFileInfo(strFolder).canonicalFilePath());
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

    for (const FolderFile &file : entries.files) {
        const QString &path = file.path;
        if (state_.blnCheckingLinks)
            host_.ShowFileBeingScanned(path.mid(topLength));
        host_.Yield();
        if (host_.StopRequested())
            return leaveFolder();

        if (IsNotTargetFile(path) || IsExcludedFilepath(path) || !IsNonEmptyFile(file.info))
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
            checker_.CheckLinksInFile(path);
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
        const QString realPath = QFileInfo(subfolder).canonicalFilePath();
        if (realPath.isEmpty()
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

bool FolderWalk::IsNotTargetFile(QStringView path) const
{
    const QString ext = GetFileExtension(path, true);
    if (ext.contains(QStringLiteral("htm")))
        return false;
    if (options_.includePhpFiles == 0)
        return true;
    return ext != QStringLiteral("php");
}

bool FolderWalk::IsExcludedFilepath(QStringView path) const
{
    for (const QString &exclusion : loweredFilepathExclusions_) {
        if (ContainsInLowered(path, exclusion))
            return true;
    }
    return false;
}

bool FolderWalk::IsNonEmptyFile(const QFileInfo &file)
{
    // The listing's file information reads the size once, when asked.
    return file.size() >= 1;
}

bool FolderWalk::IsExcludedSubfolder(const QString &subfolderPath) const
{
    if (loweredExcludedSubfolderPaths_.isEmpty())
        return false;
    const QString lowered = LowerCaseAccented(subfolderPath);
    return loweredExcludedSubfolderPaths_.contains(lowered);
}

QString ListingProgressText(qint32 numListedFiles)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return QStringLiteral("Number of files so far: ") + locale.toString(numListedFiles);
}

} // namespace quillan
