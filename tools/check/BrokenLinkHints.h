#pragma once
// A hint for a broken link where the disk shows what was probably meant: a
// file whose name differs only in letter case (a site made on a system that
// ignores case breaks when served from one that does not), or a folder where
// a file was expected.

#include <QHash>
#include <QString>

namespace quillan::check {

class BrokenLinkHints
{
public:
    // `topFolder` ends with a separator; hints name paths relative to it.
    explicit BrokenLinkHints(const QString &topFolder);

    // The hint for a link whose target (a full path below the top folder)
    // is missing; "" when the disk suggests nothing.
    QString HintFor(const QString &target);

private:
    struct Entry {
        QString name;
        bool isFolder = false;
        bool isFile = false;
    };
    struct Listing {
        QHash<QString, Entry> byName;
        QHash<QString, Entry> byLoweredName; // the first name in code-unit order
    };

    // Each folder is read once, when a target first leads into it.
    const Listing &listingOf(const QString &folder);

    QString topFolder_;
    QHash<QString, Listing> listings_;
};

} // namespace quillan::check
