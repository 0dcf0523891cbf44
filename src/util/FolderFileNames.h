#pragma once
// Whether a path names a regular file (or a folder), answered from its
// folder's listing once that folder has been asked about often. A site's links name the files
// of a few folders over and over: a listing read once answers each of them by
// a look in memory instead of a stat (some microseconds each, tens of
// thousands a walk).
//
// A listing is trusted only as far as the disk has agreed with it: a plain
// file it shows must be one to the disk (a folder one may list but not enter
// holds no file one can reach), and a name it lacks is taken as missing only
// when the same name in the other letter case is missing too (a file system
// that ignores letter case finds "Page.HTM" for "page.htm"; such a folder's
// missing names are asked of the disk). A link is always asked of the disk.
// A folder that is not there (or is a file) holds no name; one that cannot
// be listed for another reason leaves every name to the disk.
// Safe to use from several threads at once.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <array>
#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

namespace quillan {

class FolderFileNames
{
public:
    FolderFileNames();
    ~FolderFileNames();
    FolderFileNames(const FolderFileNames &) = delete;
    FolderFileNames &operator=(const FolderFileNames &) = delete;

    // The answers of FileExists(path) and FolderExists(path).
    bool FileExists(const QString &path);
    bool FolderExists(const QString &path);

    // A folder is listed when this many of its names have been asked about:
    // a folder named once or twice costs less by stat.
    static constexpr int kAsksBeforeListing = 4;
    // A folder holding more plain files is not listed, and no more names are
    // kept than this in all (some bytes each).
    static constexpr qsizetype kMostNamesInAFolder = 100000;
    static constexpr qsizetype kMostNamesKept = 400000;

private:
    struct Listing;
    struct Folder {
        int asks = 0;
        std::shared_ptr<Listing> listing; // set once listed; its state says if it is used
    };
    struct Shard {
        std::mutex mutex;
        QHash<QByteArray, Folder> folders;
    };

    // What the listing of the folder holding `path` (its bytes, "." and ".."
    // resolved) says of it: a kind of Listing's, '\0' when it is no file or
    // folder, or AskTheDisk.
    char listedKind(const QByteArray &path);
    // Whether `path` is a plain file or a folder (a kind of Listing's), by
    // its listing, or by the disk where the listing cannot tell.
    bool isA(const QByteArray &path, char kind);
    std::shared_ptr<Listing> readListing(const QByteArray &folder);

    // The listing of `folder` if one was read, by a look at the listings this
    // thread met last, else from its shard under its lock.
    const Listing *recentListing(const QByteArray &folder) const;
    void keepRecent(const QByteArray &folder, const Listing *listing) const;

    static constexpr std::size_t kShards = 16;
    std::array<Shard, kShards> shards_;
    std::atomic<qsizetype> namesKept_{0};
    // Tells this set of listings from any made before at the same address,
    // for the threads' notes of the listings they met last.
    const quint64 id_;
};

} // namespace quillan
