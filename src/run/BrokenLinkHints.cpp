#include "run/BrokenLinkHints.h"

#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <utility>

#ifdef Q_OS_UNIX
#include <cstring>
#include <dirent.h>
#endif

namespace quillan {

namespace {

// Pages a folder link most likely meant.
const std::array<QString, 2> kIndexPages = {QStringLiteral("index.htm"),
                                            QStringLiteral("index.html")};

QString joined(const QString &folder, const QString &name)
{
    return folder.isEmpty() ? name : folder + PathSeparator() + name;
}

} // namespace

BrokenLinkHints::BrokenLinkHints(QString topFolder, bool browserReading)
    : topFolder_(std::move(topFolder)), browserReading_(browserReading)
{
}

BrokenLinkHints::~BrokenLinkHints() = default;

QString BrokenLinkHints::HintFor(const QString &target)
{
    if (!target.startsWith(topFolder_))
        return QString();
    QStringView rest = QStringView(target).sliced(topFolder_.size());
    if (browserReading_) {
        const qsizetype hash = rest.indexOf(u'#');
        if (hash >= 0 && FileExists(target.first(topFolder_.size() + hash)))
            return anchorHint(rest, hash);
    }
    QString cleaned;
    if (PathSeparator() != u'/' || HoldsDotSegment(rest)) {
        // "." and ".." are resolved by the text, as the check itself does.
        cleaned = QDir::fromNativeSeparators(ResolveDotSegments(rest));
        if (cleaned == QStringLiteral("..") || cleaned.startsWith(QStringLiteral("../")))
            return QString();
        if (cleaned == QStringLiteral("."))
            cleaned.clear();
        rest = cleaned;
    }
    while (rest.endsWith(u'/'))
        rest.chop(1);
    if (rest.isEmpty())
        return folderHint(folderOf({}));
    const qsizetype slash = rest.lastIndexOf(u'/');
    const Folder &folder = folderOf(rest.first(slash + 1));
    return folder.found ? hintIn(folder, rest.sliced(slash + 1)) : QString();
}

QString BrokenLinkHints::anchorHint(QStringView rest, qsizetype hash)
{
    return QStringLiteral("The page ") + DisplayName(rest.first(hash).toString())
           + QStringLiteral(" has no element whose id, and no a element whose name, is ")
           + rest.sliced(hash + 1).toString() + QStringLiteral(".");
}

QString BrokenLinkHints::hintIn(const Folder &folder, QStringView name)
{
    bool caseDiffers = folder.caseDiffers;
    const Entry *entry = entryIn(folder, name, caseDiffers);
    if (!entry)
        return QString();
    if (entry->isFolder) {
        Folder inner;
        inner.path = folder.path + entry->name + PathSeparator();
        inner.relative = joined(folder.relative, entry->name);
        return folderHint(inner);
    }
    if (!entry->isFile || !caseDiffers)
        return QString();
    return QStringLiteral("No file has this name, but ") + joined(folder.relative, entry->name)
           + QStringLiteral(" differs from it only in letter case.");
}

const BrokenLinkHints::Folder &BrokenLinkHints::folderOf(QStringView relative)
{
    for (const RecentFolder &recent : recentFolders_) {
        if (recent.folder && relative == QStringView(recent.key))
            return *recent.folder;
    }
    const QString key = relative.toString();
    std::shared_ptr<Folder> &known = folders_[key];
    if (!known) {
        auto folder = std::make_shared<Folder>();
        if (relative.isEmpty()) {
            folder->found = true;
            folder->path = topFolder_;
        } else {
            // The parent first, then this folder's name in it.
            const QStringView withoutSlash = relative.chopped(1);
            const qsizetype slash = withoutSlash.lastIndexOf(u'/');
            const Folder &parent = folderOf(withoutSlash.first(slash + 1));
            bool caseDiffers = parent.caseDiffers;
            const Entry *entry =
                parent.found ? entryIn(parent, withoutSlash.sliced(slash + 1), caseDiffers) : nullptr;
            if (entry && entry->isFolder) {
                folder->found = true;
                folder->path = parent.path + entry->name + PathSeparator();
                folder->relative = joined(parent.relative, entry->name);
                folder->caseDiffers = caseDiffers;
            }
        }
        if (folder->found)
            folder->listing = &listingOf(folder->path);
        // The parent's lookup may have moved this slot.
        folders_[key] = folder;
    }
    const Folder *folder = folders_.value(key).get();
    recentFolders_[nextRecent_] = RecentFolder{key, folder};
    nextRecent_ = (nextRecent_ + 1) % recentFolders_.size();
    return *folder;
}

const BrokenLinkHints::Entry *BrokenLinkHints::entryIn(const Folder &folder, QStringView name,
                                                       bool &caseDiffers)
{
    const auto found = folder.listing->constFind(LowerCaseAccented(name));
    if (found == folder.listing->constEnd())
        return nullptr;
    if (found->name == name)
        return &*found;
    // Another name folds alike and sorts first; the one asked for may be
    // there as written too.
    if (found->several) {
        const QString exact = folder.path + name.toString();
        if (FileExists(exact) || FolderExists(exact))
            return nullptr; // there, but neither this entry nor a file: no hint
    }
    caseDiffers = true;
    return &*found;
}

const BrokenLinkHints::Listing &BrokenLinkHints::listingOf(const QString &path)
{
    auto known = listings_.constFind(path);
    if (known != listings_.constEnd())
        return **known;
    auto listing = std::make_shared<Listing>();
    auto add = [&listing](const QString &name, bool isFolder, bool isFile) {
        Entry &entry = (*listing)[LowerCaseAccented(name)];
        if (entry.name.isEmpty() || name < entry.name) {
            entry.several = !entry.name.isEmpty();
            entry.name = name;
            entry.isFolder = isFolder;
            entry.isFile = isFile;
        } else {
            entry.several = true;
        }
    };
#ifdef Q_OS_UNIX
    // The entries' types come with the names; only links and file systems
    // that do not give types need a look at the entry itself.
    // Names are taken by their bytes, so one the locale cannot decode is
    // still matched with the link that names it.
    const QByteArray encoded = EncodeNativeName(path);
    if (DIR *dir = ::opendir(encoded.constData())) {
        while (const dirent *d = ::readdir(dir)) {
            if (std::strcmp(d->d_name, ".") == 0 || std::strcmp(d->d_name, "..") == 0)
                continue;
            const QString name = DecodeNativeName(QByteArrayView(d->d_name));
            if (d->d_type == DT_DIR || d->d_type == DT_REG) {
                add(name, d->d_type == DT_DIR, d->d_type == DT_REG);
            } else {
                add(name, FolderExists(path + name), FileExists(path + name));
            }
        }
        ::closedir(dir);
    }
#else
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        add(info.fileName(), info.isDir(), info.isFile());
    }
#endif
    return **listings_.insert(path, listing);
}

QString BrokenLinkHints::folderHint(const Folder &folder)
{
    QString hint = QStringLiteral("The target is ")
                   + (folder.relative.isEmpty()
                          ? QStringLiteral("the top folder")
                          : QStringLiteral("the folder ") + folder.relative + PathSeparator())
                   + (browserReading_ ? QStringLiteral(", which has no index page.")
                                      : QStringLiteral(", not a file."));
    const Listing &listing = listingOf(folder.path);
    for (const QString &name : kIndexPages) {
        const auto entry = listing.constFind(name);
        if (entry != listing.constEnd() && entry->name == name && entry->isFile) {
            hint += QStringLiteral(" Perhaps ") + joined(folder.relative, name)
                    + QStringLiteral(" is meant.");
            break;
        }
    }
    return hint;
}

} // namespace quillan
