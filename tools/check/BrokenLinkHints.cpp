#include "BrokenLinkHints.h"

#include "util/FileProc.h"
#include "util/StrProc.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace quillan::check {

namespace {

// Pages a folder link most likely meant.
const QString kIndexPages[] = {QStringLiteral("index.htm"), QStringLiteral("index.html")};

QString folderHint(const QString &relativeFolder, const QString &indexPage)
{
    const QString named = relativeFolder.isEmpty()
                              ? QStringLiteral("the top folder")
                              : QStringLiteral("the folder ") + relativeFolder + PathSeparator();
    QString hint = QStringLiteral("The target is ") + named + QStringLiteral(", not a file.");
    if (!indexPage.isEmpty())
        hint += QStringLiteral(" Perhaps ") + indexPage + QStringLiteral(" is meant.");
    return hint;
}

QString caseHint(const QString &relativeFile)
{
    return QStringLiteral("No file has this name, but ") + relativeFile
           + QStringLiteral(" differs from it only in letter case.");
}

} // namespace

BrokenLinkHints::BrokenLinkHints(const QString &topFolder) : topFolder_(topFolder) {}

const BrokenLinkHints::Listing &BrokenLinkHints::listingOf(const QString &folder)
{
    auto found = listings_.find(folder);
    if (found != listings_.end())
        return *found;
    QList<Entry> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries.append(Entry{info.fileName(), info.isDir(), info.isFile()});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.name < b.name; });
    Listing listing;
    for (const Entry &entry : entries) {
        listing.byName.insert(entry.name, entry);
        const QString lowered = LowerCaseAccented(entry.name);
        if (!listing.byLoweredName.contains(lowered))
            listing.byLoweredName.insert(lowered, entry);
    }
    return *listings_.insert(folder, listing);
}

QString BrokenLinkHints::HintFor(const QString &target)
{
    if (!target.startsWith(topFolder_))
        return QString();
    // "." and ".." are resolved by the text, as the check itself does.
    const QString cleaned = QDir::cleanPath(QDir::fromNativeSeparators(target.mid(topFolder_.size())));
    if (cleaned == QStringLiteral(".."))
        return QString();
    const QStringList parts = cleaned == QStringLiteral(".")
                                  ? QStringList()
                                  : cleaned.split(u'/', Qt::SkipEmptyParts);
    if (parts.value(0) == QStringLiteral(".."))
        return QString();

    // Follows the target's path down from the top folder, each name as
    // written or else in other letter case.
    QString folder = topFolder_;
    QString relative;
    bool caseDiffers = false;
    bool isFolder = true;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const Listing &listing = listingOf(folder);
        auto entry = listing.byName.constFind(parts[i]);
        if (entry == listing.byName.constEnd()) {
            entry = listing.byLoweredName.constFind(LowerCaseAccented(parts[i]));
            if (entry == listing.byLoweredName.constEnd())
                return QString();
            caseDiffers = true;
        }
        const bool last = i + 1 == parts.size();
        if (!entry->isFolder && !(last && entry->isFile))
            return QString();
        isFolder = entry->isFolder;
        relative += (relative.isEmpty() ? QString() : QString(PathSeparator())) + entry->name;
        folder += entry->name + PathSeparator();
    }

    if (isFolder) {
        QString indexPage;
        for (const QString &name : kIndexPages) {
            const Listing &listing = listingOf(folder);
            auto entry = listing.byName.constFind(name);
            if (entry != listing.byName.constEnd() && entry->isFile) {
                indexPage = relative.isEmpty() ? name : relative + PathSeparator() + name;
                break;
            }
        }
        return folderHint(relative, indexPage);
    }
    return caseDiffers ? caseHint(relative) : QString();
}

} // namespace quillan::check
