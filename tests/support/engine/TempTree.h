#pragma once
// A small folder tree on disk for one test, removed afterwards.

#include "engine/Printers.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace quillan::test {

class TempTree
{
public:
    TempTree();
    ~TempTree();

    // The tree's root with a trailing separator, as a top folder is written.
    QString root() const;
    // The full path of `relative` ("/"-separated) below the root.
    QString path(const QString &relative) const;

    // Creates a file (and its folders) with the given content.
    void file(const QString &relative, const QByteArray &content = QByteArrayLiteral("x"));
    // Creates a folder (and its parents).
    void folder(const QString &relative);
    // Creates a file (and its folders) whose "/"-separated path below the
    // root is given as raw bytes, which need not decode in the locale's
    // encoding (as a Latin-1 name on a UTF-8 system).
    void byteNamedFile(const QByteArray &relative, const QByteArray &content = QByteArrayLiteral("x"));
    // Creates a symbolic link at `relative` pointing to `target`.
    void symlink(const QString &relative, const QString &target);
    // The bytes of a file below the root.
    QByteArray read(const QString &relative) const;

private:
    QTemporaryDir dir_;
};

// The bytes of a file, or nothing when it cannot be read.
QByteArray FileBytes(const QString &path);

} // namespace quillan::test
