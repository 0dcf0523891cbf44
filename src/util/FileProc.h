#pragma once
// Path and file routines shared by the commands, the walk and the windows.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <memory>
#include <span>
#include <utility>

namespace quillan {

// The path separator of this platform: a backslash on Windows, "/" elsewhere.
QChar PathSeparator();

// True for an existing regular file (links followed). "." and ".." segments
// are resolved by the text first, so "nosuch/../page.htm" names page.htm.
// False for an empty path, a path ending with a separator or holding a NUL
// character, a folder or anything else.
bool FileExists(const QString &path);

// True for a path FileExists refuses before asking the disk: empty, ending
// with a separator or holding a NUL.
bool NeverAFile(const QString &path);

// The bytes the disk is asked for `path`: its "." and ".." segments resolved
// by the text, as FileExists and FolderExists read it.
QByteArray NativePathByText(const QString &path);
// The same into `bytes`, written over in the room it has.
void NativePathByTextInto(const QString &path, QByteArray &bytes);

// True for an existing folder (links followed); the path is trimmed of
// spaces first, then read as FileExists reads it.
bool FolderExists(const QString &path);

// `path` with its "." and ".." segments resolved by the text: ".." takes
// away the segment before it, or nothing at the root. Empty segments go too.
QString ResolveDotSegments(QStringView path);

// True when a segment of `path` is "." or "..".
bool HoldsDotSegment(QStringView path);

// The size of a regular file in bytes; -1 when it cannot be read.
qint64 FileLength(const QString &path);

// A file the walk opened to learn its length, handed on open to be read:
// the page is looked up once, not once for its length and again to read it.
// Closed when read, or when dropped.
class OpenedFile
{
public:
    OpenedFile() = default;
    OpenedFile(int handle, qint64 length) : handle_(handle), length_(length) {}
    ~OpenedFile() { Close(); }
    OpenedFile(OpenedFile &&other) noexcept
        : handle_(std::exchange(other.handle_, -1)), length_(other.length_)
    {
    }
    OpenedFile &operator=(OpenedFile &&other) noexcept
    {
        if (this != &other) {
            Close();
            handle_ = std::exchange(other.handle_, -1);
            length_ = other.length_;
        }
        return *this;
    }
    OpenedFile(const OpenedFile &) = delete;
    OpenedFile &operator=(const OpenedFile &) = delete;

    bool IsOpen() const { return handle_ >= 0; }
    // The length when opened, as FileLength gives it (-1: no regular file).
    qint64 Length() const { return length_; }
    // The whole content, up to the length it had when opened; then closed.
    // False when it was not open.
    bool ReadWhole(QByteArray &content);
    void Close();

private:
    int handle_ = -1;
    qint64 length_ = -1;
};

// A folder held open where the system allows, whose files are looked up and
// read relative to it: the walk asks the length of every page and reads it,
// and a look-up by the whole path goes through every folder above the page
// each time. The answers are those of FileLength and ReadWholeFile.
class OpenFolder
{
public:
    // `folder` ends with a separator.
    explicit OpenFolder(const QString &folder);
    ~OpenFolder();
    // The folder as `handle` opened it to list it, held open for its files
    // while fewer than kMostKept are held so: a walk lists folders ahead of
    // it, down every level. Else the handle is closed and null returned:
    // the folder is opened again at its first file.
    static constexpr int kMostKept = 64;
    static std::shared_ptr<const OpenFolder> Keep(const QString &folder, int handle);
    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    // For a path in the folder (any other path is asked as a whole).
    qint64 FileLength(const QString &path) const;
    bool ReadWholeFile(const QString &path, QByteArray &content) const;
    // The file opened, with its length; when it cannot be opened (or the
    // system has no such call), closed, with the length FileLength gives.
    OpenedFile Open(const QString &path) const;

private:
    // The name of `path` in the folder, or "" when it is not one of its files.
    QStringView nameOf(const QString &path) const;

    OpenFolder(QString folder, int handle, bool kept);

    QString folder_;
    int handle_ = -1; // the open folder, or -1
    bool kept_ = false; // counted among those Keep holds
};

// The whole content of a file. False when it cannot be opened; a read error
// after that keeps what was read.
bool ReadWholeFile(const QString &path, QByteArray &content);

// The extension of the last path component: the part after its last full
// stop, lower-cased when asked; empty when the name has no full stop.
QString GetFileExtension(QStringView path, bool lowerCase);
// The same as it stands in `path`; null when the name has no full stop.
QStringView FileExtensionOf(QStringView path);

// The part after the last separator; a path without one is its own name.
QString GetFileName(const QString &path);

// The path up to and including its last separator; "" when it has none.
QString GetFolderOfPath(const QString &path);

// Removes every trailing separator of a non-empty path and appends one.
void EnsureTrailingBackslash(QString &path);

// Writes lines[first..last], each followed by CR LF, to `path` (created or
// emptied) in the locale's encoding; names holding bytes that did not decode
// are written as DisplayName shows them. Returns "" on success, otherwise the
// description of the error.
QString WriteLinesToFile(const QString &path, const QStringList &lines, qsizetype first,
                         qsizetype last);

// Writes `bytes` to `path` (created or emptied) as they are. Returns "" on
// success, otherwise the reason the file could not be written.
QString WriteBytesToFile(const QString &path, QByteArrayView bytes);

// The same for the bytes of `pieces`, one after another.
QString WriteBytesToFile(const QString &path, std::span<const QByteArrayView> pieces);

} // namespace quillan
