#pragma once
// The texts and the file of the List files command.

#include "scan/ScanState.h"

#include <QString>

namespace quillan {

// Line 2 of "files.txt": what a check of the listed files would read.
QString ListingLine2(qint32 numFiles, bool stopped, bool topFolderOnly);

// The status line after the listing; `firstEntry` is entry 1 of the list.
QString ListingStatusText(bool stopped, bool topFolderValid, qint32 numFiles,
                          const QString &firstEntry, bool maxReached, qint32 maxNumFiles);

// Writes "files.txt": the header (top folder and line 2) in entry 0, the
// listed files, and an empty last line. Adds that empty entry to the state.
// Returns "" or the error's description.
QString WriteListOfFiles(ScanState &state, const QString &path, const QString &topFolder,
                         const QString &line2);

} // namespace quillan
