#pragma once
// The answers of the disk for the link targets of one walk. The pages of a
// site name the same targets over and over (menus, the pages beside them, a
// missing page every page links to), so each target is looked up once; pages
// are read on several threads, so the answers are shared between them.

#include "util/FolderFileNames.h"

#include <QHash>
#include <QString>

#include <array>
#include <cstddef>
#include <mutex>

namespace quillan {

// The part of a table shared by threads where `key` belongs, chosen by a
// hash of its last characters: cheap, and the table's own hash is worked out
// once, inside the part. A site's targets mostly share their length and
// extension ("p0123.html") and differ just before it, so its last dozen
// characters are mixed, not fewer: keys that all fell in one part would
// have the threads wait for each other at its lock.
inline std::size_t ShardOf(const QString &key, std::size_t shards)
{
    constexpr qsizetype kMixed = 12;
    quint64 hash = 0xcbf29ce484222325ULL ^ quint64(key.size());
    for (qsizetype i = qMax<qsizetype>(key.size() - kMixed, 0); i < key.size(); ++i)
        hash = (hash ^ key[i].unicode()) * 0x100000001b3ULL;
    return std::size_t(hash ^ (hash >> 32)) % shards;
}

class TargetLookups
{
public:
    // FileExists(path), asked of the disk the first time only.
    bool FileExists(const QString &path);

    // Answers kept in all (some megabytes of names). A full part of the
    // table starts afresh: the targets a walk names again are mostly those of
    // the pages just read (their menus, the pages beside them).
    static constexpr qsizetype kMostKept = 65536;

private:
    // Locked apart, so that threads asking at once rarely wait for each other.
    static constexpr std::size_t kShards = 16;
    struct Shard {
        std::mutex mutex;
        QHash<QString, bool> isFile;
    };
    std::array<Shard, kShards> shards_;
    FolderFileNames disk_;
};

} // namespace quillan
