#pragma once
// A hint for a broken link where the disk shows what was probably meant: a
// file whose name differs only in letter case (a site made on a system that
// ignores case breaks when served from one that does not), or a folder where
// a file was expected.

#include <QHash>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>

namespace quillan {

class BrokenLinkHints
{
public:
    // `topFolder` ends with a separator; hints name paths relative to it.
    // Read as a browser reads pages, a folder is a target when it has an
    // index page, and a target may name an anchor ("page.htm#part").
    explicit BrokenLinkHints(QString topFolder, bool browserReading = false);
    ~BrokenLinkHints();

    // The hint for a link whose target (a full path below the top folder)
    // is missing; "" when the disk suggests nothing.
    QString HintFor(const QString &target);

private:
    struct Entry {
        QString name;          // the first of the names that fold alike
        bool isFolder = false;
        bool isFile = false;
        bool several = false;  // other names fold to the same
    };
    // A folder's entries by their names' lower-case form; read once, when a
    // target first leads into the folder.
    using Listing = QHash<QString, Entry>;
    // A folder of a target's path as found on the disk.
    struct Folder {
        bool found = false;
        QString path;     // full path, ending with a separator
        QString relative; // as named on the disk, "" for the top folder
        bool caseDiffers = false;
        const Listing *listing = nullptr;
    };

    QString hintIn(const Folder &folder, QStringView name);
    static QString anchorHint(QStringView rest, qsizetype hash);
    // `relative` is "/"-separated, without "." or ".." segments, and ends
    // with "/" unless empty.
    const Folder &folderOf(QStringView relative);
    // The entry named `name`, as written or else in other letter case.
    static const Entry *entryIn(const Folder &folder, QStringView name, bool &caseDiffers);
    const Listing &listingOf(const QString &path);
    QString folderHint(const Folder &folder);

    QString topFolder_;
    bool browserReading_ = false;
    // Held by pointer, so what was handed out stays put while more is added.
    QHash<QString, std::shared_ptr<Listing>> listings_;
    QHash<QString, std::shared_ptr<Folder>> folders_;
    // The folders asked for last: a page's broken links mostly lead into a
    // few folders, over and over.
    struct RecentFolder {
        QString key;
        const Folder *folder = nullptr;
    };
    std::array<RecentFolder, 4> recentFolders_;
    size_t nextRecent_ = 0;
};

} // namespace quillan
