#pragma once
// Reads one page, takes out its href/src links and records the broken local
// ones in the scan state.

#include "scan/LinkCheckerSearch.h"
#include "scan/ScanState.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace quillan {

// The number of the line that begins at a given position of a page's text
// (from 1; CR, LF and CR LF each end a line). Asked with growing positions.
struct LineCounter {
    QStringView text;
    qsizetype countedTo = 0;
    qint32 line = 1;

    qint32 LineAt(qsizetype lineStart);
};

class LinkChecker
{
public:
    // Takes the link exclusions from `state` as they are now: the checker is
    // built once per walk, after the exclusion boxes were parsed.
    LinkChecker(ScanState &state, const ScanOptions &options, WalkHost &host);

    // Reads the page at `page` (a full path) and records each broken link.
    // The page's folder is state.strFolderAtDepth[state.intFolderDepth].
    void CheckLinksInFile(const QString &page);

    // True for an empty link, a link from the site's root ("/...") or one
    // holding an exclusion string (letter case ignored).
    bool IsExcludedLink(QStringView link) const;

private:
    // The texts each line of a page is searched for.
    struct PageSearches {
        ForwardSearch commentStart;
        ForwardSearch commentEnd;
        ForwardSearch href;
        ForwardSearch src;
    };

    // Examines the line text[start, end) of a page; false once the link
    // limit is reached.
    bool checkLine(QStringView text, qsizetype start, qsizetype end, PageSearches &searches,
                   const QString &page, LineCounter &lines);
    // The target a link names, or "" when it is not to be checked.
    QString resolveLink(QStringView link) const;
    bool isCheckableType(QStringView link) const;
    void recordBrokenLink(BrokenLink &&link);

    ScanState &state_;
    const ScanOptions &options_;
    WalkHost &host_;
    QStringList loweredLinkExclusions_;
    struct KnownExtension {
        QString extension; // as written in the link
        bool checkable;
    };
    static constexpr size_t kKnownExtensionsKept = 16;
    mutable std::vector<KnownExtension> knownExtensions_;
};

// Links written this way are taken from a line; both keys are lower case and
// matched in the lower-cased line.
inline constexpr QStringView kHrefKey = u" href=\"";
inline constexpr QStringView kSrcKey = u" src=\"";

// Turns the escapes a page may use in a link into the characters of the file
// name, in a fixed order, and "/" into the path separator.
QString DecodeLink(QStringView link);

// The status line while checking: "One broken link found so far." or
// "12 broken links found so far.".
QString BrokenLinksSoFarText(qint32 numBrokenLinks);

} // namespace quillan
