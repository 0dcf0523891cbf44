#include "run/ListFilesText.h"

#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

namespace quillan {

QString ListingLine2(qint32 numFiles, bool stopped, bool topFolderOnly)
{
    if (stopped)
        return QStringLiteral("The listing of files was stopped, so this list is incomplete.");
    if (numFiles == 1) {
        return topFolderOnly
                   ? QStringLiteral("Link in only one file (in the top folder) will be checked.")
                   : QStringLiteral("Links in only one file will be checked.");
    }
    const QString words = NumberToWords(numFiles).toLower();
    if (topFolderOnly)
        return QStringLiteral("Links in ") + words + QStringLiteral(" files ")
               + QStringLiteral("(in the top folder) will be checked.");
    return QStringLiteral("Links in ") + words + QStringLiteral(" files will be checked.");
}

QString ListingStatusText(bool stopped, bool topFolderValid, qint32 numFiles,
                          const QString &firstEntry, bool maxReached, qint32 maxNumFiles)
{
    if (stopped)
        return QStringLiteral("Listing of files was stopped.");
    if (!topFolderValid)
        return QString();
    if (numFiles == 0)
        return QStringLiteral("No files.");
    if (numFiles == 1)
        return QStringLiteral("Sole file: ") + DisplayName(GetFileName(firstEntry));
    if (maxReached)
        return QStringLiteral("Maximum number of files reached: ") + FormatCount(maxNumFiles);
    return QStringLiteral("Number of files: ") + FormatCount(numFiles);
}

QString WriteListOfFiles(ScanState &state, const QString &path, const QString &topFolder,
                         const QString &line2)
{
    state.strListedFiles[0] = QStringLiteral("Top Folder is ") + topFolder + kCrLf + line2 + kCrLf;
    ++state.lngNumListedFiles;
    state.GrowListedFiles(1);
    state.strListedFiles[state.lngNumListedFiles].clear();
    return WriteLinesToFile(path, state.strListedFiles, 0, state.lngNumListedFiles);
}

} // namespace quillan
