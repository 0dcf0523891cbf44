#pragma once
// The classic reading of a page: line by line, at most one href/src link a
// line, and only the broken local ones are kept.

#include "scan/LinkCheckerSearch.h"
#include "scan/PageReader.h"
#include "scan/ScanState.h"
#include "scan/TargetLookups.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <string_view>
#include <vector>

namespace quillan {

// A page's bytes as the classic reading searches them when the locale's
// encoding is UTF-8: all but a leading byte order mark, which is not part of
// the text (DecodeLocaleText drops it too).
std::string_view Utf8TextOf(const QByteArray &bytes);

class LinkChecker : public PageReader
{
public:
    // Takes the link exclusions from `state` as they are now: the checker is
    // built once per walk, after the exclusion boxes were parsed.
    LinkChecker(const ScanState &state, const ScanOptions &options);

    PageReadResult ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const override;

    // Examines a page's text, as UTF-16 code units or as the bytes of UTF-8
    // (where only the links are decoded): both give the same.
    template <typename Unit>
    PageReadResult ReadText(std::basic_string_view<Unit> text, const PageToRead &page,
                            std::vector<BrokenLink> &found) const;

    // True for an empty link, a link from the site's root ("/...") or one
    // holding an exclusion string (letter case ignored).
    bool IsExcludedLink(QStringView link) const;

private:
    // Examines the line of a page from `lineStart` to `marks.end`, the
    // keys' places given. True when the line held a local link that was
    // looked up on disk.
    template <typename Unit>
    bool checkLine(std::basic_string_view<Unit> text, qsizetype lineStart, const LineMarks &marks,
                   const KeyPlaces &hrefs, const KeyPlaces &srcs, const PageToRead &page,
                   LineCounter<Unit> &lines, std::vector<BrokenLink> &found) const;
    // The file `link` names, written into `target` (whose room is used
    // again), or `target` emptied when the link is not to be checked.
    void resolveLink(QStringView link, const PageToRead &page, QString &target) const;
    bool isCheckableType(QStringView link) const;
    bool isCheckableExtension(QStringView extension) const;

    const quint64 id_; // tells this checker's remembered answers from another's
    const ScanOptions &options_;
    QStringList loweredLinkExclusions_;
    mutable TargetLookups lookups_; // shared by the threads reading pages
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
