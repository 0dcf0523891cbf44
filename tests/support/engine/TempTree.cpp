#include "engine/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace quillan::test {

TempTree::TempTree()
{
    EXPECT_TRUE(dir_.isValid());
    // Open to every user, so a case can be run as an unprivileged user.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                           | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                           | QFileDevice::ExeGroup | QFileDevice::ReadOther
                                           | QFileDevice::ExeOther);
}

TempTree::~TempTree()
{
    // Removed by the bytes of its names: Qt cannot remove a name it cannot
    // decode.
    std::error_code ec;
    std::filesystem::remove_all(QFile::encodeName(dir_.path()).toStdString(), ec);
}

QString TempTree::root() const
{
    return QDir::toNativeSeparators(dir_.path()) + QDir::separator();
}

QString TempTree::path(const QString &relative) const
{
    return root() + QDir::toNativeSeparators(relative);
}

void TempTree::file(const QString &relative, const QByteArray &content)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
    f.write(content);
}

void TempTree::folder(const QString &relative)
{
    QDir().mkpath(path(relative));
}

void TempTree::byteNamedFile(const QByteArray &relative, const QByteArray &content)
{
#ifdef _WIN32
    // Names are UTF-16 there: every name decodes.
    file(QString::fromUtf8(relative), content);
#else
    // Qt would take the name through its own, lossy decoding: the folders and
    // the file are made by their bytes.
    QByteArray path = QFile::encodeName(dir_.path());
    const QList<QByteArray> parts = relative.split('/');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += '/' + parts[i];
        ::mkdir(path.constData(), 0755);
    }
    path += '/' + parts.last();
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << path.toStdString();
    EXPECT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
    ::close(fd);
#endif
}

void TempTree::symlink(const QString &relative, const QString &target)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    ASSERT_TRUE(QFile::link(target, full));
}

QByteArray TempTree::read(const QString &relative) const
{
    return FileBytes(path(relative));
}

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace quillan::test
