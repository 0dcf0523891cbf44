#include "subfolders/SubfolderSurvey.h"

#include "settings/ExclusionLists.h"
#include "subfolders/SubfolderEntry.h"
#include "util/DiskProc.h"
#include "util/FileProc.h"
#include "util/NativeName.h"

namespace quillan {

namespace {

// Resets the lists to `size` elements.
void sizeLists(SubfolderSurvey &results, int size)
{
    results.strEntries = QStringList(size);
    results.dblBytes = QList<double>(size, 0.0);
    results.blnEmpty = QList<bool>(size, false);
    results.intChecked = QList<int>(size, 0);
}

bool isRecycleBin(const QString &path)
{
    return path.toUpper().contains(QStringLiteral("$RECYCLE.BIN"));
}

// The size part of an entry and the bytes it stands for.
QString sizePart(const QString &path, qint32 numSubfolders, double bytesOfFiles, double &bytes,
                 const DiskYield &yield)
{
    if (numSubfolders == 0) {
        // The file count has summed the files already.
        bytes = bytesOfFiles;
        return FormatByteSize(bytesOfFiles, 2);
    }
    qint32 numFiles = 0;
    int limit = 200;
    double total = 0;
    qint32 errorNumber = 0;
    SumFolderTree(true, path, QStringLiteral("*.*"), numFiles, limit, true, total, errorNumber,
                  yield);
    bytes = total < 0 ? 0 : total;
    QString text;
    if (errorNumber >= 1 || limit == -2)
        text = QStringLiteral("over ");
    return text + FormatByteSize(total, 2);
}

QString describeSubfolder(const QString &name, const QString &path, const SurveyOptions &options,
                          double &bytes, const DiskYield &yield)
{
    // The entry is shown, and the name read back from it is matched against
    // the walk's folders as shown too.
    QString entry = DisplayName(name) + QStringLiteral(" {");
    QString error;
    double bytesOfFiles = options.omitTotalFilesize ? 0 : -1;
    bool permissionDenied = false;
    const qint32 files = CountFiles(path, QStringLiteral("*.*"), false, error, bytesOfFiles,
                                    permissionDenied, {}, yield);
    qint32 subfolders = 0;
    if (error.isEmpty()) {
        int errorNumber = 0;
        subfolders = CountSubfolders(path, error, errorNumber);
    }

    if (!error.isEmpty()) {
        entry += error;
    } else {
        entry += FilesPart(files) + SubfoldersPart(subfolders);
        if (!options.omitTotalFilesize && (files >= 1 || subfolders >= 1))
            entry += QStringLiteral(", ") + sizePart(path, subfolders, bytesOfFiles, bytes, yield);
    }
    entry += u'}';
    // An empty size text leaves a separator before the brace.
    if (entry.endsWith(QStringLiteral(", }")))
        entry.replace(entry.size() - 3, 3, QStringLiteral("}"));
    return entry;
}

// Sorts the entries ignoring case. Each entry's emptiness ("1" or "0") and
// size ride along as text after the closing brace and are read back from
// there, so they follow their entry: the window decides from the emptiness
// whether a row may be ticked in advance.
void sortEntries(SubfolderSurvey &results)
{
    const int n = results.intNumSubfolders;
    for (int i = 0; i < n; ++i)
        results.strEntries[i] =
            WithSortTail(results.strEntries[i], results.blnEmpty[i], results.dblBytes[i]);
    SortListAscending(results.strEntries, 0, n - 1);
    for (int i = 0; i < n; ++i) {
        const SortTail tail = CutSortTail(results.strEntries[i]);
        results.blnEmpty[i] = tail.empty;
        results.dblBytes[i] = tail.bytes;
    }
}

} // namespace

SurveyResult SurveySubfolders(QString &strTopFolder, const SurveyOptions &options,
                              SubfolderSurvey &results, SurveyProgress &progress)
{
    progress.ShowProgress(ReadingDiskText(0));
    EnsureTrailingBackslash(strTopFolder);
    results = SubfolderSurvey{};
    sizeLists(results, 1);

    QString error;
    int errorNumber = 0;
    const qint32 counted = CountSubfolders(strTopFolder, error, errorNumber);
    if (counted < 0)
        return {SurveyOutcome::TopFolderUnreadable, error};
    if (counted == 0)
        return {SurveyOutcome::NoSubfolders, QString()};

    QStringList names;
    if (!ListSubfolderNames(strTopFolder, names, error, errorNumber))
        return {SurveyOutcome::TopFolderUnreadable, error};

    // The lists are sized from the first count; subfolders made since then
    // find no room and are left out.
    results.intNumSubfolders = counted;
    sizeLists(results, counted + 1);
    const DiskYield yield = options.omitTotalFilesize ? DiskYield()
                                                      : DiskYield([&progress] { progress.ProcessEvents(); });
    int i = 0;
    for (const QString &name : names) {
        if (i >= counted)
            break;
        const QString path = strTopFolder + name;
        if (options.excludeRecycleBin && isRecycleBin(path))
            continue;
        bool permissionDenied = false;
        results.blnEmpty[i] = IsFolderEmpty(path, permissionDenied);
        results.strEntries[i] = describeSubfolder(name, path, options, results.dblBytes[i], yield);

        ++i;
        progress.ShowProgress(ReadingDiskText(i));
        progress.ProcessEvents();
        if (progress.CancelRequested()) {
            results.intNumSubfolders = i;
            return {SurveyOutcome::Cancelled, QString()};
        }
    }
    // Left-out recycle bins, and subfolders removed since the count, leave no
    // entry behind.
    results.intNumSubfolders = i;
    sortEntries(results);
    return {SurveyOutcome::Completed, QString()};
}

} // namespace quillan
