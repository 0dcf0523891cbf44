#include "util/FileProc.h"

#include "util/StrProc.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringEncoder>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace quillan {

QChar PathSeparator()
{
    return QDir::separator();
}

bool FileExists(const QString &path)
{
    if (path.isEmpty())
        return false;
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    return info.exists() && info.isFile();
#else
    // One stat call: this runs for every checked link, so it stays lean.
    struct stat st;
    const QByteArray encoded = QFile::encodeName(path);
    return ::stat(encoded.constData(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

bool FolderExists(const QString &path)
{
    const QString trimmed = TrimSpaces(path);
    if (trimmed.isEmpty())
        return false;
#ifdef Q_OS_WIN
    return QFileInfo(trimmed).isDir();
#else
    struct stat st;
    const QByteArray encoded = QFile::encodeName(trimmed);
    return ::stat(encoded.constData(), &st) == 0 && S_ISDIR(st.st_mode);
#endif
}

QString GetFileExtension(QStringView path, bool lowerCase)
{
    const qsizetype sep = path.lastIndexOf(PathSeparator());
    const QStringView name = sep >= 0 ? path.sliced(sep + 1) : path;
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return QString();
    const QStringView ext = name.sliced(dot + 1);
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

QString WriteLinesToFile(const QString &path, const QStringList &lines, qsizetype first,
                         qsizetype last)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return file.errorString();
    QStringEncoder encoder(QStringConverter::System);
    QByteArray buffer;
    for (qsizetype i = first; i <= last && i < lines.size(); ++i) {
        buffer += encoder.encode(lines[i]);
        buffer += "\r\n";
        if (buffer.size() >= (1 << 20)) {
            if (file.write(buffer) != buffer.size())
                return file.errorString();
            buffer.clear();
        }
    }
    if (!buffer.isEmpty() && file.write(buffer) != buffer.size())
        return file.errorString();
    if (!file.flush())
        return file.errorString();
    file.close();
    if (file.error() != QFileDevice::NoError)
        return file.errorString();
    return QString();
}

} // namespace quillan
