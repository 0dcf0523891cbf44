#include "scan/FolderEntries.h"

#include "util/FileProc.h"

#ifdef Q_OS_WIN
#include <filesystem>
#include <system_error>
#else
#include <dirent.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstring>

namespace quillan {

FolderEntries ReadFolderEntries(const QString &folder, bool &unreadable)
{
    FolderEntries entries;
#ifdef Q_OS_WIN
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
    // Read with the plain calls, as the standard library's iterator reads,
    // without the path objects it makes of every entry: the walk reads
    // every folder of the site. An entry's type comes with its name; a link
    // (or a file system that does not tell) is looked up, links followed.
    DIR *dir = ::opendir(EncodeNativeName(folder).constData());
    unreadable = dir == nullptr;
    if (dir == nullptr)
        return entries;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(::dirfd(dir), name, &st, 0) != 0)
                continue; // a link to nothing, or refused: neither file nor folder
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type == DT_REG)
            entries.files.append(DecodeNativeName(name));
        else if (type == DT_DIR)
            entries.subfolders.append(DecodeNativeName(name));
    }
    ::closedir(dir);
#endif
    std::sort(entries.files.begin(), entries.files.end());
    std::sort(entries.subfolders.begin(), entries.subfolders.end());
    for (QString &file : entries.files)
        file.prepend(folder);
    return entries;
}

void FolderRead::Read()
{
    identity = IdentityOf(path);
    if (identity.IsEmpty())
        return; // not entered
    QString folder = path;
    EnsureTrailingBackslash(folder);
    entries = ReadFolderEntries(folder, unreadable);
}

} // namespace quillan
