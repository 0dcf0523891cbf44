#pragma once
// Where the program keeps its files: a subfolder of the user's application
// data folder.

#include <QString>

namespace quillan {

// The shell's number of the per-user application-data folder.
inline constexpr int kAppDataFolder = 26;

// The path of a special folder by its number (only kAppDataFolder is known);
// "" when the platform has none.
QString GetSpecialFolderPath(int folder);

// base/subfolder/fileName with base the application-data folder; the
// subfolder is created when missing (with any missing parents). When the
// folder cannot be made, the path is still returned and writing to it fails.
QString GetReportFilePath(const QString &fileName, const QString &subfolder);

} // namespace quillan
