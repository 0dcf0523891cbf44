#include "OutputFolder.h"

#include "util/FileProc.h"
#include "util/NativeName.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace quillan::check {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

OutputFolder::~OutputFolder()
{
#ifndef _WIN32
    if (lockFd_ >= 0)
        ::close(lockFd_);
#endif
}

QString OutputFolder::Open(const QString &folder, const std::function<void()> &waiting)
{
    folder_ = QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath());
    EnsureTrailingBackslash(folder_);
    std::error_code ec;
    std::filesystem::create_directories(ToNativePath(folder_), ec);
    if (ec) {
        // A path that is there but is no folder says so; otherwise the
        // system's reason.
        const QFileInfo info(folder);
        if (info.exists() && !info.isDir())
            return QStringLiteral("the output folder is a file: ") + folder;
        return QStringLiteral("cannot make the output folder ") + folder + QStringLiteral(": ")
               + QString::fromLocal8Bit(ec.message());
    }
#ifndef _WIN32
    const QByteArray encoded = EncodeNativeName(folder_);
    lockFd_ = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lockFd_ < 0)
        return QStringLiteral("cannot open the output folder ") + folder + QStringLiteral(": ")
               + systemReason(errno);
    // The lock is on the folder itself, so the folder holds no file for it.
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK && waiting)
            waiting();
        int result;
        while ((result = ::flock(lockFd_, LOCK_EX)) != 0 && errno == EINTR) {
        }
        // A file system that keeps no locks (some network ones) still
        // takes the files: the run goes on unserialised.
        if (result != 0 && errno != ENOLCK && errno != EOPNOTSUPP)
            return QStringLiteral("cannot lock the output folder ") + folder + QStringLiteral(": ")
                   + systemReason(errno);
    }
    // Under the lock: the folder takes a new file, and no earlier run's
    // half-written file is left in it.
    const QByteArray probe = EncodeNativeName(PartialPath(QStringLiteral("probe")));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return QStringLiteral("cannot write in the output folder ") + folder + QStringLiteral(": ")
               + systemReason(errno);
    ::close(fd);
    ::unlink(probe.constData());
#endif
    return QString();
}

QString OutputFolder::FinalPath(const QString &name) const
{
    return folder_ + name;
}

QString OutputFolder::PartialPath(const QString &name) const
{
    return folder_ + u'.' + name + QStringLiteral(".partial");
}

QString OutputFolder::Commit(const QString &name)
{
    std::error_code ec;
    std::filesystem::rename(ToNativePath(PartialPath(name)), ToNativePath(FinalPath(name)), ec);
    if (ec) {
        Discard(name);
        return QString::fromLocal8Bit(ec.message());
    }
    committed_.append(name);
    return QString();
}

void OutputFolder::Discard(const QString &name)
{
    std::error_code ec;
    std::filesystem::remove(ToNativePath(PartialPath(name)), ec);
}

void OutputFolder::RemoveOthers(const QStringList &names)
{
    for (const QString &name : names) {
        if (committed_.contains(name))
            continue;
        std::error_code ec;
        std::filesystem::remove(ToNativePath(FinalPath(name)), ec);
        Discard(name);
    }
}

} // namespace quillan::check
