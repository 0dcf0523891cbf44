#pragma once
// The folder that holds the program text file and the help file. The build
// tree and a Windows install keep them beside the executable; an install
// under a prefix keeps them in the shared data folder, bin/../share/quillan.

#include <QString>

namespace quillan {

// The shared data folder of an install: the executable's folder with the
// path from the binaries to the data files appended, cleaned.
QString InstalledDataFolder(const QString &executableFolder);

// The executable's folder when it holds the program text file `fileName`,
// else the shared data folder when that does. When neither does, the executable's folder:
// the place looked first is the one a failure message names.
QString LocateProgramFolder(const QString &executableFolder, const QString &fileName);

} // namespace quillan
