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
    constexpr qsizetype kMostInAShard = kMostKept / qsizetype(kShards);
    if (shard.isFile.size() >= kMostInAShard)
        shard.isFile.clear();
    // A part in use is given its full room at once: growing it step by step
    // hashes every key again at each step.
    if (shard.isFile.isEmpty())
        shard.isFile.reserve(kMostInAShard);
    shard.isFile.insert(path, isFile);
    return isFile;
}

} // namespace quillan
