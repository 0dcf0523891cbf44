#include "scan/TargetLookups.h"


namespace quillan {

bool TargetLookups::FileExists(const QString &path)
{
    Shard &shard = shards_[ShardOf(path, kShards)];
    {
        const std::lock_guard lock(shard.mutex);
        const auto known = shard.isFile.constFind(path);
        if (known != shard.isFile.constEnd())
            return *known;
    }
    // Looked up without the lock: another thread may ask the same meanwhile,
    // and both get the same answer.
    const bool isFile = disk_.FileExists(path);
    const std::lock_guard lock(shard.mutex);
    if (shard.isFile.size() >= kMostKept / qsizetype(kShards))
        shard.isFile.clear();
    shard.isFile.insert(path, isFile);
    return isFile;
}

} // namespace quillan
