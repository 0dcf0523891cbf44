#include "util/DataFolder.h"

#include "util/FileProc.h"

#include <QDir>
#include <QStandardPaths>

namespace quillan {

QString GetSpecialFolderPath(int folder)
{
    if (folder != kAppDataFolder)
        return QString();
    return QDir::toNativeSeparators(
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString DataFilePath(const QString &base, const QString &fileName, const QString &subfolder)
{
    QString folder = base;
    if (folder.endsWith(PathSeparator()))
        folder.chop(1);
    folder += PathSeparator() + subfolder;
    if (!FolderExists(folder))
        QDir().mkpath(folder);
    return folder + PathSeparator() + fileName;
}

QString GetReportFilePath(const QString &fileName, const QString &subfolder)
{
    return DataFilePath(GetSpecialFolderPath(kAppDataFolder), fileName, subfolder);
}

QString GetSettingsFilePath(const QString &fileName, const QString &subfolder)
{
    QString base = GetSpecialFolderPath(kAppDataFolder);
    if (base.isEmpty())
        base = GetFirstFixedDrive();
    return DataFilePath(base, fileName, subfolder);
}

QString GetFirstFixedDrive()
{
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    return FolderExists(home) ? home : QString();
}

} // namespace quillan
