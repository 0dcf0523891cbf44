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

// The part of a table shared by threads where `key` belongs, chosen by its
// length and last character: cheap, and the table's own hash is worked out
// once, inside the part.
inline std::size_t ShardOf(const QString &key, std::size_t shards)
{
    const std::size_t tail = key.isEmpty() ? 0 : key.back().unicode();
    return (std::size_t(key.size()) * 31 + tail) % shards;
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
