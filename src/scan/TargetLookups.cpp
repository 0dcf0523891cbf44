#include "scan/TargetLookups.h"

namespace quillan {

bool TargetLookups::FileExists(const QString &path)
{
    const quint64 hash = HashOfPath(path);
    bool isFile = false;
    if (isFile_.Find(path, hash, isFile))
        return isFile;
    // Looked up without a lock: another thread may ask the same meanwhile,
    // and both get the same answer.
    isFile = disk_.FileExists(path);
    isFile_.Keep(path, hash, isFile);
    return isFile;
}

} // namespace quillan
