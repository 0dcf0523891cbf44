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

QString GetReportFilePath(const QString &fileName, const QString &subfolder)
{
    const QString base = GetSpecialFolderPath(kAppDataFolder);
    const QString folder = base + PathSeparator() + subfolder;
    if (!FolderExists(folder))
        QDir().mkpath(folder);
    return folder + PathSeparator() + fileName;
}

} // namespace quillan
