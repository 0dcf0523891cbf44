#include "engine/TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

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

void TempTree::symlink(const QString &relative, const QString &target)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    ASSERT_TRUE(QFile::link(target, full));
}

QByteArray TempTree::read(const QString &relative) const
{
    QFile f(path(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

} // namespace quillan::test
