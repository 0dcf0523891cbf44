#include "util/FileProc.h"

#include "util/NativeName.h"
#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <system_error>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/syscall.h>
#endif

namespace quillan {

QChar PathSeparator()
{
    return QDir::separator();
}

namespace {

#ifndef Q_OS_WIN
// One stat of what the text names: this runs for every checked link, so it
// stays lean.
bool statByText(const QString &path, struct stat &st)
{
    return ::stat(NativePathByText(path).constData(), &st) == 0;
}
#endif

} // namespace

void NativePathByTextInto(const QString &path, QByteArray &bytes)
{
    if (HoldsDotSegment(path))
        EncodeNativeNameInto(ResolveDotSegments(path), bytes);
    else
        EncodeNativeNameInto(path, bytes);
}

QByteArray NativePathByText(const QString &path)
{
    QByteArray bytes;
    NativePathByTextInto(path, bytes);
    return bytes;
}

bool NeverAFile(const QString &path)
{
    // A name cut short at a NUL would be taken for another file.
    return path.isEmpty() || path.endsWith(PathSeparator()) || path.contains(QChar(0));
}

bool FileExists(const QString &path)
{
    if (NeverAFile(path))
        return false;
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    return info.exists() && info.isFile();
#else
    struct stat st;
    return statByText(path, st) && S_ISREG(st.st_mode);
#endif
}

bool FolderExists(const QString &path)
{
    const QString trimmed = TrimSpaces(path);
    if (trimmed.isEmpty() || trimmed.contains(QChar(0)))
        return false;
#ifdef Q_OS_WIN
    return QFileInfo(trimmed).isDir();
#else
    struct stat st;
    return statByText(trimmed, st) && S_ISDIR(st.st_mode);
#endif
}

// True when a segment of `path` is "." or "..".
bool HoldsDotSegment(QStringView path)
{
    // Asked of every target a walk looks up: the dots are found a register
    // at a time, with no call for each.
    const char16_t sep = PathSeparator().unicode();
    const char16_t *units = path.utf16();
    const qsizetype size = path.size();
    for (qsizetype i = FindUnit(units, 0, size, u'.'); i >= 0; i = FindUnit(units, i + 1, size, u'.')) {
        if (i > 0 && units[i - 1] != sep)
            continue;
        qsizetype end = i + 1;
        if (end < size && units[end] == u'.')
            ++end;
        if (end == size || units[end] == sep)
            return true;
    }
    return false;
}

QString ResolveDotSegments(QStringView path)
{
    const QChar sep = PathSeparator();
    const bool fromRoot = path.startsWith(sep);
    QList<QStringView> kept;
    for (QStringView segment : path.tokenize(sep, Qt::SkipEmptyParts)) {
        if (segment == u".")
            continue;
        if (segment == u"..") {
            // Above the root is the root; a relative path keeps what it
            // cannot resolve.
            if (!kept.isEmpty() && kept.last() != u"..")
                kept.removeLast();
            else if (!fromRoot)
                kept.append(segment);
            continue;
        }
        kept.append(segment);
    }
    QString resolved;
    resolved.reserve(path.size());
    if (fromRoot)
        resolved += sep;
    for (qsizetype i = 0; i < kept.size(); ++i) {
        if (i > 0)
            resolved += sep;
        resolved += kept[i];
    }
    if (resolved.isEmpty())
        resolved = QStringLiteral(".");
    return resolved;
}

qint64 FileLength(const QString &path)
{
#ifdef Q_OS_WIN
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(ToNativePath(path), ec);
    return ec ? -1 : qint64(size);
#else
    // The walk asks this of every file it meets: one stat by the name's
    // bytes, a regular file only, as the standard library's file_size.
    struct stat st;
    if (::stat(EncodeNativeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return qint64(st.st_size);
#endif
}

#ifndef Q_OS_WIN
namespace {

// The bytes of a file's name in the calling thread's own buffer, written
// over by its next call: the walk opens or asks about every file it meets.
const char *NameBytes(QStringView name)
{
    thread_local QByteArray bytes;
    EncodeNativeNameInto(name, bytes);
    return bytes.constData();
}

// A page is opened, read and closed with the system's calls made directly.
// The C library makes its open, read and close points at which a thread may
// be cancelled, at the cost of two atomic operations a call once a program
// runs threads: some 1 % of a check reading with two. No thread of ours is
// ever cancelled.
int openFileAt(int folder, const char *name)
{
#ifdef Q_OS_LINUX
    return int(::syscall(SYS_openat, folder, name, O_RDONLY | O_CLOEXEC));
#else
    return ::openat(folder, name, O_RDONLY | O_CLOEXEC);
#endif
}

// Reads at `offset`, not at the file's position: with several threads
// reading, the kernel would lock the position for every read.
ssize_t readFileAt(int fd, char *into, std::size_t count, qsizetype offset)
{
#ifdef Q_OS_LINUX
    return ::syscall(SYS_pread64, fd, into, count, off_t(offset));
#else
    return ::pread(fd, into, count, off_t(offset));
#endif
}

void closeFile(int fd)
{
#ifdef Q_OS_LINUX
    ::syscall(SYS_close, fd);
#else
    ::close(fd);
#endif
}

// Reads the open file `fd`, of `expected` bytes when opened (0: not told).
void readWholeOpenFile(int fd, qsizetype expected, QByteArray &content)
{
    // A file is read up to the size it had when opened, with one call, as
    // QFile reads it; one whose size was not told is read to its end.
    const qsizetype first = expected > 0 ? expected : 4096;
    // A buffer kept from page to page is given fresh room when it has too
    // little: growing it would copy the page read before, to no use.
    if (content.capacity() < first)
        content = QByteArray(first, Qt::Uninitialized);
    else
        content.resize(first);
    qsizetype length = 0;
    for (;;) {
        if (length == content.size()) {
            if (length == expected)
                break;
            content.resize(length * 2);
        }
        ssize_t got = readFileAt(fd, content.data() + length, size_t(content.size() - length), length);
        if (got < 0 && errno == ESPIPE) // not a file one can read at a place
            got = ::read(fd, content.data() + length, size_t(content.size() - length));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break; // the end, or a read error: what was read is kept
        length += got;
    }
    content.truncate(length);
}

// Reads the file `name` names, relative to the folder `folder` (AT_FDCWD: as
// a whole path).
bool readWholeFileAt(int folder, const char *name, QByteArray &content)
{
    // Opened by its bytes (QFile would take the name through Qt's own, lossy
    // decoding) and read with the plain calls: this runs for every page, and
    // QFile would ask for the size and the position again on the way.
    const int fd = openFileAt(folder, name);
    if (fd < 0)
        return false;
    struct stat st;
    const qsizetype expected = ::fstat(fd, &st) == 0 && st.st_size > 0 ? qsizetype(st.st_size) : 0;
    readWholeOpenFile(fd, expected, content);
    closeFile(fd);
    return true;
}

} // namespace
#endif

bool ReadWholeFile(const QString &path, QByteArray &content)
{
#ifdef Q_OS_WIN
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return false;
    // Read whole in one go: no buffer of the file's own in between.
    content = file.readAll();
    return true;
#else
    return readWholeFileAt(AT_FDCWD, EncodeNativeName(path).constData(), content);
#endif
}

OpenFolder::OpenFolder(const QString &folder) : folder_(folder)
{
#ifndef Q_OS_WIN
#ifdef O_PATH
    constexpr int kFlags = O_PATH | O_DIRECTORY | O_CLOEXEC; // no right to read it needed
#else
    constexpr int kFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif
    handle_ = ::open(EncodeNativeName(folder).constData(), kFlags);
#endif
}

namespace {
std::atomic<int> keptFolders{0};
} // namespace

OpenFolder::OpenFolder(QString folder, int handle, bool kept)
    : folder_(std::move(folder)), handle_(handle), kept_(kept)
{
}

std::shared_ptr<const OpenFolder> OpenFolder::Keep(const QString &folder, int handle)
{
    if (handle < 0)
        return nullptr;
    if (++keptFolders > kMostKept) {
        --keptFolders;
#ifndef Q_OS_WIN
        ::close(handle);
#endif
        return nullptr;
    }
    // Counted from here: the folder's end closes the handle and counts it off.
    return std::shared_ptr<const OpenFolder>(new OpenFolder(folder, handle, true));
}

OpenFolder::~OpenFolder()
{
#ifndef Q_OS_WIN
    if (handle_ >= 0)
        ::close(handle_);
#endif
    if (kept_)
        --keptFolders;
}

QStringView OpenFolder::nameOf(const QString &path) const
{
    if (handle_ < 0 || path.size() <= folder_.size() || !path.startsWith(folder_))
        return {};
    const QStringView name = QStringView(path).sliced(folder_.size());
    return ContainsChar(name, u'/') ? QStringView() : name;
}

qint64 OpenFolder::FileLength(const QString &path) const
{
#ifndef Q_OS_WIN
    if (const QStringView name = nameOf(path); !name.isEmpty()) {
        struct stat st;
        if (::fstatat(handle_, NameBytes(name), &st, 0) != 0
            || !S_ISREG(st.st_mode))
            return -1;
        return qint64(st.st_size);
    }
#endif
    return quillan::FileLength(path);
}

bool OpenFolder::ReadWholeFile(const QString &path, QByteArray &content) const
{
#ifndef Q_OS_WIN
    if (const QStringView name = nameOf(path); !name.isEmpty())
        return readWholeFileAt(handle_, NameBytes(name), content);
#endif
    return quillan::ReadWholeFile(path, content);
}

OpenedFile OpenFolder::Open(const QString &path) const
{
#ifndef Q_OS_WIN
    if (const QStringView name = nameOf(path); !name.isEmpty()) {
        const int fd = openFileAt(handle_, NameBytes(name));
        if (fd >= 0) {
            struct stat st;
            if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
                return OpenedFile(fd, qint64(st.st_size));
            closeFile(fd);
            return OpenedFile(); // no regular file
        }
    }
#endif
    // Not to be opened (not allowed to read it, say): its length all the
    // same, and the reader finds it cannot read it.
    return OpenedFile(-1, FileLength(path));
}

bool OpenedFile::ReadWhole(QByteArray &content)
{
#ifndef Q_OS_WIN
    if (handle_ < 0)
        return false;
    readWholeOpenFile(handle_, length_ > 0 ? qsizetype(length_) : 0, content);
    Close();
    return true;
#else
    Q_UNUSED(content);
    return false;
#endif
}

void OpenedFile::Close()
{
#ifndef Q_OS_WIN
    if (handle_ >= 0)
        closeFile(handle_);
#endif
    handle_ = -1;
}

QStringView FileExtensionOf(QStringView path)
{
    const qsizetype sep = path.lastIndexOf(PathSeparator());
    const QStringView name = sep >= 0 ? path.sliced(sep + 1) : path;
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QStringView() : name.sliced(dot + 1);
}

QString GetFileExtension(QStringView path, bool lowerCase)
{
    const QStringView ext = FileExtensionOf(path);
    if (ext.isNull())
        return QString();
    return lowerCase ? LowerCaseAccented(ext) : ext.toString();
}

QString GetFileName(const QString &path)
{
    const qsizetype sep = path.lastIndexOf(PathSeparator());
    return sep >= 0 ? path.mid(sep + 1) : path;
}

QString GetFolderOfPath(const QString &path)
{
    const qsizetype sep = path.lastIndexOf(PathSeparator());
    return sep >= 0 ? path.left(sep + 1) : QString();
}

void EnsureTrailingBackslash(QString &path)
{
    if (path.isEmpty())
        return;
    const QChar sep = PathSeparator();
    while (path.endsWith(sep))
        path.chop(1);
    path += sep;
}

namespace {

// Writes to `path` (created or emptied) what `writeAll` puts in the file, a
// piece at a time; "" or the reason the file could not be written. A piece
// not written whole ends it.
template <typename WriteAll>
QString WriteToFile(const QString &path, WriteAll writeAll)
{
    QFile file(path);
    // The reports are written anew on every run. A file cut to nothing and
    // filled again is sent to the disk as it is closed (ext4 does so to
    // keep the new text safe), which takes milliseconds a report; one cut
    // to its first byte and written over from the start is sent later, as
    // any other. Opening to write alone would cut it to nothing, so it is
    // opened to read too; a file that may not be read is emptied as before.
    if (!file.open(QIODevice::ReadWrite) && !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    if (file.size() > 1 && !file.resize(1))
        return file.errorString();
    qint64 written = 0;
    const auto put = [&file, &written](QByteArrayView piece) {
        const qint64 wrote = file.write(piece.data(), piece.size());
        written += qMax(wrote, qint64(0));
        return wrote == piece.size();
    };
    const bool whole = writeAll(put) && file.flush();
    QString writeError = whole ? QString() : file.errorString();
    // The first byte is left when less was written. A device has no length.
    if (file.size() > written && !file.resize(written) && whole)
        return file.errorString();
    if (!whole)
        return writeError;
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return QString();
}

} // namespace

QString WriteBytesToFile(const QString &path, QByteArrayView bytes)
{
    return WriteToFile(path, [bytes](const auto &put) { return put(bytes); });
}

QString WriteBytesToFile(const QString &path, std::span<const QByteArrayView> pieces)
{
    return WriteToFile(path, [pieces](const auto &put) {
        return std::all_of(pieces.begin(), pieces.end(), put);
    });
}

QString WriteLinesToFile(const QString &path, const QStringList &lines, qsizetype first,
                         qsizetype last)
{
    return WriteToFile(path, [&](const auto &put) {
        QStringEncoder encoder(QStringConverter::System);
        QByteArray buffer;
        for (qsizetype i = first; i <= last && i < lines.size(); ++i) {
            buffer += encoder.encode(DisplayName(lines[i]));
            buffer += "\r\n";
            if (buffer.size() >= (1 << 20)) {
                if (!put(buffer))
                    return false;
                buffer.clear();
            }
        }
        return buffer.isEmpty() || put(buffer);
    });
}

} // namespace quillan
