#include "util/FolderFileNames.h"

#include "util/FileProc.h"
#include "util/HashOfUnits.h"
#include "util/StrProc.h"

#include <QByteArrayView>

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifndef Q_OS_WIN
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>
#endif

namespace quillan {

// The names of one folder that may be files or folders: the plain files, the
// folders, and the links and names of unknown kind, which only the disk can
// tell. The names are kept in one block, each after a byte for its kind and
// ended by a NUL; the entries, each a name's start and length, are in the
// order the folder gave them, and found through an index by a hash of the
// name.
struct FolderFileNames::Listing {
    enum State {
        Unused,    // the disk is asked of every name
        FilesOnly, // a plain file listed is one; other names are asked of the disk
        Whole,     // and a name not listed is no file: the folder tells letter case apart
    };
    enum Kind : char { PlainFile = 'f', Folder = 'd', AskTheDisk = '?' };
    State state = Unused;
    struct Entry {
        quint32 start; // of the kind's byte
        quint32 length;
    };
    QByteArray names;
    std::vector<Entry> entries;
    // The entries by a hash of their names, each slot an entry's number plus
    // one, 0 where none is: a name is found in a step or two, where a search
    // of the sorted entries compares a dozen names.
    std::vector<quint32> index;

    std::string_view nameAt(Entry entry) const
    {
        return std::string_view(names.constData() + entry.start + 1, entry.length);
    }
    char kindAt(Entry entry) const { return names[entry.start]; }

    // The kind of `name`, or 0 when it is not listed.
    char kindOf(std::string_view name) const
    {
        if (index.empty())
            return '\0';
        const std::size_t mask = index.size() - 1;
        for (std::size_t slot = HashOfName(name) & mask;; slot = (slot + 1) & mask) {
            const quint32 at = index[slot];
            if (at == 0)
                return '\0';
            const Entry entry = entries[at - 1];
            if (entry.length == name.size() && nameAt(entry) == name)
                return kindAt(entry);
        }
    }

    // Indexes the entries, whose names differ.
    void makeIndex()
    {
        index.assign(std::max<std::size_t>(std::bit_ceil(2 * entries.size()), 8), 0);
        const std::size_t mask = index.size() - 1;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::size_t slot = HashOfName(nameAt(entries[i])) & mask;
            while (index[slot] != 0)
                slot = (slot + 1) & mask;
            index[slot] = quint32(i + 1);
        }
    }

    static std::size_t HashOfName(std::string_view name)
    {
        return std::size_t(HashOfUnits(name.data(), qsizetype(name.size())));
    }

    // How far the listing of `folder` may be trusted, from two questions to
    // the disk.
    State judge(const QByteArray &folder) const;
};

namespace {

#ifndef Q_OS_WIN
// True when the disk finds `path` a plain file ('f') or a folder ('d').
bool IsOfKind(const QByteArray &path, char kind)
{
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && (kind == 'f' ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode));
}

bool IsMissing(const QByteArray &path)
{
    struct stat st;
    return ::lstat(path.constData(), &st) != 0 && errno == ENOENT;
}

char FlippedCase(char c)
{
    if (c >= 'a' && c <= 'z')
        return char(c - 32);
    if (c >= 'A' && c <= 'Z')
        return char(c + 32);
    return c;
}
#endif

} // namespace

FolderFileNames::Listing::State FolderFileNames::Listing::judge(const QByteArray &folder) const
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return Unused;
#else
    const QByteArray within = folder.endsWith('/') ? folder : folder + '/';
    // A plain file listed must be one to the disk too (a folder, one), or
    // the folder cannot be searched (or changes as it is read).
    const auto known = std::find_if(entries.begin(), entries.end(),
                                    [this](Entry entry) { return kindAt(entry) != AskTheDisk; });
    if (known == entries.end() || !IsOfKind(within + nameAt(*known).data(), kindAt(*known)))
        return Unused;
    // A name spelt in the other letter case must be missing, or the folder
    // finds names the listing does not give.
    for (const Entry entry : entries) {
        std::string flipped(nameAt(entry));
        for (char &c : flipped)
            c = FlippedCase(c);
        if (flipped == nameAt(entry))
            continue;
        if (kindOf(flipped) != '\0')
            return FilesOnly;
        return IsMissing(within + flipped.c_str()) ? Whole : FilesOnly;
    }
    return FilesOnly;
#endif
}

namespace {

std::atomic<quint64> gNextId{1};

// Where the last "/" of `path` stands, or -1.
qsizetype LastSlash(const QByteArray &path)
{
#if defined(__GLIBC__)
    const auto *last = static_cast<const char *>(::memrchr(path.constData(), '/', std::size_t(path.size())));
    return last == nullptr ? -1 : last - path.constData();
#else
    return path.lastIndexOf('/');
#endif
}

// Whether two folders' bytes are the same. The folders of a site mostly
// share their length and their beginning: their last bytes are compared
// first.
bool SameFolder(const QByteArray &a, const QByteArray &b)
{
    const qsizetype size = a.size();
    if (size != b.size())
        return false;
    constexpr qsizetype kWord = 8;
    if (size >= kWord) {
        quint64 x = 0;
        quint64 y = 0;
        std::memcpy(&x, a.constData() + size - kWord, kWord);
        std::memcpy(&y, b.constData() + size - kWord, kWord);
        if (x != y)
            return false;
    }
    return std::memcmp(a.constData(), b.constData(), std::size_t(size)) == 0;
}

// The listings a thread met last: a page's links name the files of a few
// folders, and these are found without hashing the folder's name or taking
// a lock that the other threads take too.
struct RecentListing {
    quint64 owner = 0;
    QByteArray folder;
    const void *listing = nullptr;
};
constexpr std::size_t kRecentListings = 8;
thread_local std::array<RecentListing, kRecentListings> tRecentListings;
thread_local std::size_t tNextRecent = 0;
thread_local std::size_t tLastRecent = 0; // the slot found last

} // namespace

FolderFileNames::FolderFileNames() : id_(gNextId++) {}

FolderFileNames::~FolderFileNames() = default;

bool FolderFileNames::FileExists(const QString &path)
{
#ifdef Q_OS_WIN
    return quillan::FileExists(path);
#else
    if (NeverAFile(path))
        return false;
    // Asked for every target a walk looks up: the bytes are written over in
    // the thread's own room rather than taken afresh. (isA keeps no view.)
    thread_local QByteArray bytes;
    constexpr qsizetype kMostKept = qsizetype(64) << 10;
    NativePathByTextInto(path, bytes);
    const bool found = isA(bytes, Listing::PlainFile);
    if (bytes.capacity() > kMostKept)
        bytes = QByteArray();
    return found;
#endif
}

bool FolderFileNames::FolderExists(const QString &path)
{
#ifdef Q_OS_WIN
    return quillan::FolderExists(path);
#else
    const QString trimmed = TrimSpaces(path);
    if (trimmed.isEmpty() || trimmed.contains(QChar(0)))
        return false;
    return isA(NativePathByText(trimmed), Listing::Folder);
#endif
}

bool FolderFileNames::isA(const QByteArray &path, char kind)
{
    const char listed = listedKind(path);
#ifndef Q_OS_WIN
    if (listed == Listing::AskTheDisk)
        return IsOfKind(path, kind);
#endif
    return listed == kind;
}

char FolderFileNames::listedKind(const QByteArray &path)
{
    const qsizetype slash = LastSlash(path);
    if (slash < 0 || slash + 1 == path.size())
        return Listing::AskTheDisk;
    // The folder is looked up by a view of the path's bytes; its name is
    // copied only when it is met for the first time.
    const QByteArray folder =
        slash == 0 ? QByteArray("/") : QByteArray::fromRawData(path.constData(), slash);
    const std::string_view name(path.constData() + slash + 1, std::size_t(path.size() - slash - 1));

    // A folder's listing is set once and kept as long as this is, so it is
    // read without holding the lock (or a count of its users).
    const Listing *listing = recentListing(folder);
    if (listing == nullptr) {
        Shard &shard = shards_[qHash(folder) % kShards];
        bool toRead = false;
        {
            const std::lock_guard lock(shard.mutex);
            auto entry = shard.folders.find(folder);
            if (entry == shard.folders.end())
                entry = shard.folders.insert(QByteArray(folder.constData(), folder.size()), Folder());
            listing = entry->listing.get();
            toRead = listing == nullptr && ++entry->asks == kAsksBeforeListing;
        }
        if (toRead) {
            // Read without the lock; another thread asking meanwhile asks the
            // disk, as before the folder was listed.
            std::shared_ptr<Listing> read = readListing(QByteArray(folder.constData(), folder.size()));
            listing = read.get();
            const std::lock_guard lock(shard.mutex);
            shard.folders.find(folder)->listing = std::move(read);
        }
        if (listing != nullptr)
            keepRecent(folder, listing);
    }
    if (listing == nullptr || listing->state == Listing::Unused)
        return Listing::AskTheDisk;
    const char kind = listing->kindOf(name);
    if (kind == '\0' && listing->state != Listing::Whole)
        return Listing::AskTheDisk;
    return kind;
}

const FolderFileNames::Listing *FolderFileNames::recentListing(const QByteArray &folder) const
{
    // The listing met last is mostly the one asked for again (a page's links
    // name the files beside it): it is looked at first.
    for (std::size_t k = 0; k < kRecentListings; ++k) {
        const std::size_t slot = (tLastRecent + k) % kRecentListings;
        const RecentListing &recent = tRecentListings[slot];
        if (recent.owner == id_ && SameFolder(recent.folder, folder)) {
            tLastRecent = slot;
            return static_cast<const Listing *>(recent.listing);
        }
    }
    return nullptr;
}

void FolderFileNames::keepRecent(const QByteArray &folder, const Listing *listing) const
{
    tLastRecent = tNextRecent++ % kRecentListings;
    RecentListing &slot = tRecentListings[tLastRecent];
    slot.owner = id_;
    slot.folder = QByteArray(folder.constData(), folder.size());
    slot.listing = listing;
}

std::shared_ptr<FolderFileNames::Listing> FolderFileNames::readListing(const QByteArray &folder)
{
    const auto unused = [] {
        auto nothing = std::make_shared<Listing>();
        nothing->state = Listing::Unused;
        return nothing;
    };
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return unused();
#else
    DIR *dir = ::opendir(folder.constData());
    if (dir == nullptr) {
        // A folder that is not there holds nothing: the links into it (a
        // site's pages name a missing folder's files over and over) are
        // answered without a stat each. Any other failure leaves the disk
        // to answer.
        if (errno != ENOENT && errno != ENOTDIR)
            return unused();
        auto missing = std::make_shared<Listing>();
        missing->state = Listing::Whole;
        return missing;
    }
    auto listing = std::make_shared<Listing>();
    bool tooMany = false;
    while (const dirent *entry = ::readdir(dir)) {
        // A link, or a name whose kind the file system does not give, is
        // asked of the disk; a device is neither a file nor a folder.
        char kind = 0;
        if (entry->d_type == DT_REG)
            kind = Listing::PlainFile;
        else if (entry->d_type == DT_DIR)
            kind = Listing::Folder;
        else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            kind = Listing::AskTheDisk;
        else
            continue;
        if (entry->d_name == std::string_view(".") || entry->d_name == std::string_view(".."))
            continue;
        if (qsizetype(listing->entries.size()) == kMostNamesInAFolder) {
            tooMany = true;
            break;
        }
        const std::string_view name(entry->d_name);
        listing->entries.push_back(Listing::Entry{quint32(listing->names.size()), quint32(name.size())});
        listing->names.append(kind);
        listing->names.append(name.data(), qsizetype(name.size()) + 1); // with its NUL
    }
    ::closedir(dir);
    const auto count = qsizetype(listing->entries.size());
    if (tooMany || namesKept_.fetch_add(count) + count > kMostNamesKept) {
        if (!tooMany)
            namesKept_.fetch_sub(count);
        return unused();
    }
    listing->names.squeeze();
    listing->makeIndex();
    listing->state = listing->judge(folder);
    return listing;
#endif
}

} // namespace quillan
