#include "scan/FolderEntries.h"

#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/UnitScan.h"

#ifdef Q_OS_WIN
#include <filesystem>
#include <system_error>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <utility>

namespace quillan {

namespace {

#ifdef Q_OS_WIN
// Each file's full path, made at its length at once: prepending the folder
// to each name grew every one of them.
void MakePaths(const QString &folder, QStringList &files)
{
    for (QString &file : files) {
        QString path(folder.size() + file.size(), Qt::Uninitialized);
        std::copy_n(folder.constData(), folder.size(), path.data());
        std::copy_n(file.constData(), file.size(), path.data() + folder.size());
        file = std::move(path);
    }
}
#endif

#ifndef Q_OS_WIN
// A file's full path, from its folder's and the bytes of its name, made at
// its length at once: most names are ASCII.
QString PathOf(const QString &folder, const char *name)
{
    const auto size = qsizetype(std::strlen(name));
    if (FindNonAscii(name, 0, size) >= 0)
        return folder + DecodeNativeName(QByteArrayView(name, size));
    QString path(folder.size() + size, Qt::Uninitialized);
    auto *const out = reinterpret_cast<char16_t *>(path.data());
    std::copy_n(folder.utf16(), folder.size(), out);
    std::transform(name, name + size, out + folder.size(), [](char c) { return char16_t(c); });
    return path;
}

// Takes one entry of the open folder `handle` (`folder`): a file, by its
// full path, or a folder, by its name, as its type tells; a link (or a file
// system that does not tell) is looked up, links followed.
void TakeEntry(int handle, const QString &folder, const char *name, unsigned char type, FolderEntries &entries)
{
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
        return;
    if (type == DT_LNK || type == DT_UNKNOWN) {
        struct stat st;
        if (::fstatat(handle, name, &st, 0) != 0)
            return; // a link to nothing, or refused: neither file nor folder
        type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    if (type == DT_REG)
        entries.files.append(PathOf(folder, name));
    else if (type == DT_DIR)
        entries.subfolders.append(DecodeNativeName(name));
}

// Reads the entries of the open folder `handle` (`folder`), which stays open.
void ReadEntries(int handle, const QString &folder, FolderEntries &entries)
{
#ifdef __linux__
    // The system's own call, into a buffer of this thread's: the library's
    // reader would take a second handle of the folder and a buffer of its
    // own for each.
    alignas(8) std::array<char, 16384> buffer;
    for (;;) {
        const ssize_t got = ::getdents64(handle, buffer.data(), buffer.size());
        if (got <= 0)
            return; // the end, or an error: what was read is kept
        for (ssize_t at = 0; at < got;) {
            // Each record begins with the fields of a dirent64.
            struct dirent64 entry;
            constexpr auto kHead = offsetof(struct dirent64, d_name);
            std::memcpy(&entry, buffer.data() + at, kHead);
            if (entry.d_reclen == 0)
                return; // no record is empty: what follows cannot be read
            TakeEntry(handle, folder, buffer.data() + at + kHead, entry.d_type, entries);
            at += entry.d_reclen;
        }
    }
#else
    const int own = ::dup(handle);
    DIR *dir = own >= 0 ? ::fdopendir(own) : nullptr;
    if (dir == nullptr) {
        if (own >= 0)
            ::close(own);
        return;
    }
    while (const dirent *entry = ::readdir(dir))
        TakeEntry(handle, folder, entry->d_name, entry->d_type, entries);
    ::closedir(dir);
#endif
}
#endif

// The folder's path as the walk names it, for a look by its whole path.
QString WithoutSeparator(const QString &folder)
{
    return folder.size() > 1 ? folder.chopped(1) : folder;
}

#ifndef Q_OS_WIN
// A folder's handle, closed unless handed on.
class Handle
{
public:
    explicit Handle(int handle) : handle_(handle) {}
    ~Handle()
    {
        if (handle_ >= 0)
            ::close(handle_);
    }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    int get() const { return handle_; }
    int release() { return std::exchange(handle_, -1); }

private:
    int handle_;
};
#endif

} // namespace

FolderEntries ReadFolderEntries(const QString &folder, bool &unreadable, FolderIdentity *identity)
{
    FolderEntries entries;
#ifdef Q_OS_WIN
    if (identity) {
        *identity = IdentityOf(WithoutSeparator(folder));
        if (identity->IsEmpty())
            return entries;
    }
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(ToNativePath(folder), ec);
    unreadable = bool(ec);
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry &entry = *it;
        std::error_code typeError;
        if (entry.is_regular_file(typeError))
            entries.files.append(FromNativePath(entry.path().filename()));
        else if (!typeError && entry.is_directory(typeError))
            entries.subfolders.append(FromNativePath(entry.path().filename()));
    }
#else
    // The folder is opened once: who it is, its names and the files the
    // walk reads are all reached through that one opening, where naming the
    // folder again would go down its whole path each time.
    Handle handle(
        ::open(EncodeNativeName(folder).constData(), O_RDONLY | O_NONBLOCK | O_DIRECTORY | O_CLOEXEC));
    if (identity) {
        struct stat st;
        if (handle.get() >= 0 && ::fstat(handle.get(), &st) == 0) {
            identity->device = std::uint64_t(st.st_dev);
            identity->inode = std::uint64_t(st.st_ino);
        } else {
            // There, perhaps, but not to be read.
            *identity = IdentityOf(WithoutSeparator(folder));
        }
        if (identity->IsEmpty())
            return entries; // no folder one can reach: not entered
    }
    unreadable = handle.get() < 0;
    if (handle.get() < 0)
        return entries;
    ReadEntries(handle.get(), folder, entries);
    if (!entries.files.isEmpty())
        entries.open = OpenFolder::Keep(folder, handle.release());
#endif
#ifdef Q_OS_WIN
    MakePaths(folder, entries.files);
#endif
    // The files' paths share their folder: they sort as their names do.
    std::sort(entries.files.begin(), entries.files.end());
    std::sort(entries.subfolders.begin(), entries.subfolders.end());
    return entries;
}

void FolderRead::Read()
{
    QString folder = path;
    EnsureTrailingBackslash(folder);
    entries = ReadFolderEntries(folder, unreadable, &identity);
}

} // namespace quillan
