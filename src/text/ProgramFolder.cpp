#include "text/ProgramFolder.h"

#include "text/ProgramText.h"
#include "util/FileProc.h"

#include <QDir>

// Set by the build from the install layout it uses.
#ifndef QUILLAN_DATA_FROM_BINARIES
#define QUILLAN_DATA_FROM_BINARIES "../share/quillan"
#endif

namespace quillan {

QString InstalledDataFolder(const QString &executableFolder)
{
    return QDir::toNativeSeparators(QDir::cleanPath(
        QDir::fromNativeSeparators(executableFolder) + u'/'
        + QStringLiteral(QUILLAN_DATA_FROM_BINARIES)));
}

QString LocateProgramFolder(const QString &executableFolder, const QString &fileName)
{
    if (FileExists(ProgramTextFilePath(executableFolder, fileName)))
        return executableFolder;
    QString installed = InstalledDataFolder(executableFolder);
    if (FileExists(ProgramTextFilePath(installed, fileName)))
        return installed;
    return executableFolder;
}

} // namespace quillan
