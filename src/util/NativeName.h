#pragma once
// File names as the disk holds them.
//
// On Unix a file name is a run of bytes, which the program reads in the
// locale's encoding (UTF-8, as Qt takes it there; on Windows names are
// UTF-16 and always decode). A name unpacked from elsewhere may hold bytes
// that do not decode (a Latin-1 "café.htm" on a UTF-8 system); Qt's own
// conversion turns each into the replacement character, after which the
// file cannot be opened again. Here every byte that does not decode becomes
// a lone surrogate U+DC80..U+DCFF instead, so a name survives the trip into
// a QString and back byte for byte. Such a string is for the disk only:
// where a name is shown or written to a file it goes through DisplayName
// first.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <filesystem>

namespace quillan {

// The name `bytes` hold: what the locale's decoder gives wherever they decode,
// an escape for each byte elsewhere.
QString DecodeNativeName(QByteArrayView bytes);

// The text of a file in the locale's encoding, decoded the same way, so the
// bytes of a name written in a page reach the disk unchanged. A byte order
// mark at the start is dropped.
QString DecodeLocaleText(QByteArrayView bytes);

// The bytes of a name that DecodeNativeName (or DecodeLocaleText) gave, each
// escape back to its own byte.
QByteArray EncodeNativeName(QStringView name);
// The same into `bytes`, in the room it has when the name is ASCII.
void EncodeNativeNameInto(QStringView name, QByteArray &bytes);

// The name as the user sees it: each escape becomes the replacement
// character U+FFFD.
QString DisplayName(const QString &name);

// True when `name` holds an escaped byte.
bool HoldsUndecodedBytes(QStringView name);

// The path as the standard library's file routines take it, and a name or
// path they give back.
std::filesystem::path ToNativePath(const QString &path);
QString FromNativePath(const std::filesystem::path &path);

// What tells a folder apart however it is reached (links followed), for
// telling whether it was met before: its device and inode where files have
// them, else its path with every link resolved. Every folder that cannot be
// looked up has the same, empty, identity.
struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::filesystem::path realPath;

    bool IsEmpty() const { return device == 0 && inode == 0 && realPath.empty(); }
    bool operator==(const FolderIdentity &) const = default;
};
FolderIdentity IdentityOf(const QString &path);

} // namespace quillan
