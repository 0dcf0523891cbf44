#pragma once
// Path and file routines shared by the commands, the walk and the windows.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace quillan {

// The path separator of this platform: a backslash on Windows, "/" elsewhere.
QChar PathSeparator();

// True for an existing regular file (links followed); false for an empty
// path, a folder or anything else.
bool FileExists(const QString &path);

// True for an existing folder; the path is trimmed of spaces first.
bool FolderExists(const QString &path);

// The extension of the last path component: the part after its last full
// stop, lower-cased when asked; empty when the name has no full stop.
QString GetFileExtension(QStringView path, bool lowerCase);

// The part after the last separator; a path without one is its own name.
QString GetFileName(const QString &path);

// The path up to and including its last separator; "" when it has none.
QString GetFolderOfPath(const QString &path);

// Removes every trailing separator of a non-empty path and appends one.
void EnsureTrailingBackslash(QString &path);

// Writes lines[first..last], each followed by CR LF, to `path` (created or
// emptied) in the locale's encoding. Returns "" on success, otherwise the
// description of the error.
QString WriteLinesToFile(const QString &path, const QStringList &lines, qsizetype first,
                         qsizetype last);

} // namespace quillan
