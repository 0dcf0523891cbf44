#pragma once
// Reading a page as a browser reads it: every link of every tag that names a
// resource, resolved as a browser resolves it against a site served from the
// top folder, each target looked up on the disk (a folder through its index
// page) and, when asked, each "#fragment" looked up among the anchors of its
// target page.

#include "html/HtmlLinks.h"
#include "scan/PageReader.h"
#include "scan/ScanState.h"
#include "scan/SharedAnswers.h"
#include "scan/TargetLookups.h"
#include "util/FolderFileNames.h"

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

namespace quillan {

// Paths relative to the top folder are "/"-separated, free of "." segments
// and of ".." segments but for those at the start of a path that climbs out
// of the top folder; "" is the top folder, a final "/" marks a folder.
// A link's text as a browser cleans it: no characters of code 32 or less at
// its ends, no tab or line break inside.
QString CleanLinkText(QStringView link);
QString CleanLinkText(const QString &link);

// A link's path (query and fragment already cut) as the bytes of a name:
// each %XX becomes its byte, and a name that is not in the locale's encoding
// keeps its bytes the way DecodeNativeName keeps them. "\" is read as "/".
QString DecodeLinkPath(QStringView path);

// `path` (decoded, "/"-separated) resolved against the folder `folder`
// (relative, "" or ending with "/"). A path from the root ("/x") starts at the
// top folder, and ".." does not climb above it there; a relative path may.
QString ResolveSitePath(QStringView folder, QStringView path);
// The same, written into `resolved`, whose buffer is used again when it is
// large enough and not shared.
void ResolveSitePathInto(QStringView folder, QStringView path, QString &resolved);

class BrowserLinkChecker : public PageReader
{
public:
    BrowserLinkChecker(const ScanState &state, const ScanOptions &options);
    ~BrowserLinkChecker() override;

    PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const override;

    // The broken links of a page whose links (and anchors, when they are to be
    // checked) have been read into `html`; `text` is the page's text when
    // the reading left lines to count.
    qint32 CheckLinks(const PageToRead &page, const HtmlPage &html, std::vector<BrokenLink> &found,
                      const HtmlText &text = HtmlText(QString())) const;

private:
    struct PageContext;
    // Readies the context a thread keeps for its next page.
    static void ReadyForNextPage(PageContext &context);
    struct Target;
    struct KnownLink;
    struct KnownLinks;

    // Where `link`, whose value is `value`, leads, or nothing when it is not
    // to be checked.
    bool resolve(const HtmlLink &link, const QString &value, const PageContext &context, Target &target) const;
    // What this thread knows of the links resolved as those of `context`
    // are, emptied when they resolve otherwise.
    KnownLinks &knownLinksFor(const PageContext &context) const;
    // Where `link` leads and whether it was found: an ordinary link from
    // `known`, resolved once for the pages of a folder; another in `scratch`.
    KnownLink &linkTarget(const HtmlLink &link, PageContext &context, KnownLinks &known,
                          KnownLink &scratch) const;
    // How much of a link's text `known` keeps it by.
    template <typename Unit>
    qsizetype keyLength(const Unit *units, qsizetype size) const;
    static void Forget(KnownLink &known);
    bool isExcludedLink(QStringView cleaned) const;
    // Looks the target up on the disk; true when it is found. `page`, when
    // asked for, becomes the page found: for a folder, its index page.
    bool findTarget(const QString &relative, QString *page) const;
    // The same, remembering the answer for the pages read later; `page`
    // (when asked for) is set as findTarget sets it.
    bool foundTarget(const QString &relative, QString *page) const;
    QString indexPageOf(const QString &folderPath) const;
    // True when `path` (full) is a page the walk would read.
    bool isSitePage(const QString &relative, const QString &path) const;
    // The anchors of another page of the site, read once and kept.
    std::shared_ptr<const QSet<QString>> anchorsOf(const QString &path) const;

    const quint64 id_; // tells this checker's answers from another's in a thread's known links
    const ScanOptions &options_;
    QStringList loweredLinkExclusions_;
    // Whether links that differ only after "#" lead to the same answer: so
    // when anchors are not checked and no exclusion can match a fragment.
    const bool fragmentsAlike_;

    // Shared by every page read, from whichever thread reads it: relative
    // target -> page found, "" missing.
    mutable SharedAnswers<QString> found_;
    mutable QMutex anchorsMutex_;
    mutable QHash<QString, std::shared_ptr<const QSet<QString>>> anchorsByPage_;
    mutable QHash<QString, bool> sitePages_; // page -> holds anything
    mutable FolderFileNames disk_;
};

// True when the anchors hold `fragment` as written or percent-decoded, or
// when the fragment is one that every page has ("" and "top", any case).
bool HasAnchor(const QSet<QString> &anchors, QStringView fragment);

// The page reader the options ask for.
std::unique_ptr<PageReader> MakePageReader(const ScanState &state, const ScanOptions &options);

} // namespace quillan
