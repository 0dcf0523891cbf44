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

// The same path for settings files, with one difference: when the platform
// names no application-data folder, the base is GetFirstFixedDrive().
QString GetSettingsFilePath(const QString &fileName, const QString &subfolder);

// The fallback base for settings files. This system has no drive letters; the
// user's home folder stands in for the first fixed drive. "" when there is
// none.
QString GetFirstFixedDrive();

// base/subfolder/fileName, creating base/subfolder when it is missing. A base
// that ends with a separator (the root folder) gives no doubled separator.
QString DataFilePath(const QString &base, const QString &fileName, const QString &subfolder);

} // namespace quillan
