#include "scan/LinkChecker.h"

#include "scan/LinkCheckerSearch.h"
#include "scan/LinkText.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <array>
#include <utility>

namespace quillan {

namespace {

struct Replacement {
    QStringView find;
    QStringView replaceBy;
};

// The escapes of the link texts that name real file names, applied in this
// order. The "/" row, with nothing to replace by, stands for the path
// separator.
constexpr std::array<Replacement, 11> kLinkEscapes{{
    {u"&amp;", u"&"},
    {u"%20", u" "},
    {u"%27", u"'"},
    {u"%28", u"("},
    {u"%29", u")"},
    {u"/", u""},
    {u"%C3%A7", u"\u00e7"},
    {u"%C3%B1", u"\u00f1"},
    {u"%C3%AD", u"\u00ed"},
    {u"%C3%B3", u"\u00f3"},
    {u"%E2%80%93", u"\u2013"},
}};

// Links that point outside the site or run a script.
constexpr std::array<QStringView, 3> kNotLocalMarks{u"mailto:", u"://", u"javascript:"};

constexpr QStringView kCommentEnd = u"-->";

// "../", or "..\\" where that is the separator.
bool isClimb(QStringView path)
{
    return path.size() >= 3 && path[0] == u'.' && path[1] == u'.' && path[2] == PathSeparator();
}

// The extension of a link as written. Its "/" are not yet separators, so
// the name is cut at a backslash only, as where that is the separator:
// "../" reads "/" and "v1.2/notes" reads "2/notes", neither a file type.
QStringView linkExtensionOf(QStringView link)
{
    const QStringView name = link.sliced(LastIndexOfChar(link, u'\\') + 1);
    const qsizetype dot = LastIndexOfChar(name, u'.');
    return dot < 0 ? QStringView() : name.sliced(dot + 1);
}

} // namespace

LinkChecker::LinkChecker(const ScanState &state, const ScanOptions &options)
    : options_(options), loweredLinkExclusions_(LoweredLinkExclusions(state))
{
}

PageReadResult LinkChecker::ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const
{
    // Whatever could be read is examined; a read error just ends the page.
    PageReadResult result;
    QByteArray bytes;
    if (!ReadWholeFile(page.path, bytes)) {
        result.read = false;
        return result;
    }
    const QString text = DecodeLocaleText(bytes);
    std::array<AttributeKey, 2> keys{AttributeKey{kHrefKey, KeyPlaces(kHrefKey.size())},
                                     AttributeKey{kSrcKey, KeyPlaces(kSrcKey.size())}};
    FindAttributeKeys(text, keys);
    const KeyPlaces &hrefs = keys[0].places;
    const KeyPlaces &srcs = keys[1].places;

    // CR, LF and CR LF each end a line, so pages saved on any system give
    // the same lines. Only a line holding one of the keys can give a link,
    // so the others are passed over without being looked at.
    const char16_t *units = QStringView(text).utf16();
    const qsizetype size = text.size();
    LineCounter lines{text};
    KnownExtensions known;
    qsizetype pos = 0;
    while (pos < size) {
        const qsizetype href = hrefs.Within(pos, size);
        const qsizetype src = srcs.Within(pos, size);
        const qsizetype key = href < 0 ? src : (src < 0 ? href : qMin(href, src));
        if (key < 0)
            return result;
        // The line starts after the last break before the key.
        const qsizetype lineStart = qMax(pos, LastLineBreakIn(units, pos, key) + 1);
        const LineMarks marks = ScanLine(text, lineStart);
        if (checkLine(text, lineStart, marks, hrefs, srcs, page, lines, known, found))
            ++result.linksChecked;
        pos = marks.end + 1;
        if (pos < size && units[marks.end] == u'\r' && units[pos] == u'\n')
            ++pos;
    }
    return result;
}

bool LinkChecker::checkLine(QStringView text, qsizetype lineStart, const LineMarks &marks,
                            const KeyPlaces &hrefs, const KeyPlaces &srcs, const PageToRead &page,
                            LineCounter &lines, KnownExtensions &known,
                            std::vector<BrokenLink> &found) const
{
    // Characters up to the space are trimmed from both ends.
    qsizetype start = lineStart;
    qsizetype end = marks.end;
    while (start < end && text[start].unicode() <= 32)
        ++start;
    while (end > start && text[end - 1].unicode() <= 32)
        --end;
    if (start == end)
        return false;

    // A comment opened on the line hides the rest of it; one closed on it
    // hides what came before. No state is carried between lines. (A mark
    // begins and ends with no character trimmed, so the line's marks are
    // those of its trimmed text.)
    if (marks.commentStart >= 0)
        end = marks.commentStart;
    else if (marks.commentEnd >= 0)
        start = marks.commentEnd + kCommentEnd.size();
    if (start >= end)
        return false;

    // At most one link a line: the first href, or failing that the first src.
    qsizetype linkStart = hrefs.Within(start, end);
    if (linkStart >= 0) {
        linkStart += kHrefKey.size();
    } else {
        linkStart = srcs.Within(start, end);
        if (linkStart < 0)
            return false;
        linkStart += kSrcKey.size();
    }
    const qsizetype closingQuote = IndexOfChar(text.sliced(linkStart, end - linkStart), u'"');
    if (closingQuote < 0)
        return false;

    const QStringView link = text.sliced(linkStart, closingQuote);
    const QString target = resolveLink(link, page, known);
    if (target.isEmpty())
        return false;
    if (!lookups_.FileExists(target))
        found.push_back(BrokenLink{page.path, target, lines.LineAt(lineStart), link.toString()});
    return true;
}

QString LinkChecker::resolveLink(QStringView link, const PageToRead &page,
                                 KnownExtensions &known) const
{
    // A browser drops what stands around the link inside its quotes; a link
    // of only a query names the page itself.
    link = TrimControlChars(link);
    if (link.startsWith(u'?'))
        return QString();
    // Every mark of a link that leaves the site holds a colon.
    if (ContainsChar(link, u':')) {
        if (StartsWithUrlScheme(link))
            return QString();
        for (QStringView mark : kNotLocalMarks) {
            if (ContainsInLowered(link, mark))
                return QString();
        }
    }
    const qsizetype fragment = IndexOfChar(link, u'#');
    if (fragment >= 0)
        link = link.first(fragment);
    if (IsExcludedLink(link) || !isCheckableType(link, known))
        return QString();

    QString decoded;
    QStringView path = link;
    if (ContainsChar(link, u'&') || ContainsChar(link, u'%') || PathSeparator() != u'/') {
        decoded = DecodeLink(link);
        path = decoded;
    }
    // Each leading "../" climbs one folder; a link above the top folder
    // leaves the site and is not checked.
    int depth = page.Depth();
    while (isClimb(path)) {
        --depth;
        path = path.sliced(3);
    }
    if (depth < 1)
        return QString();
    const QString &folder = page.folders[depth];
    QString target;
    target.reserve(folder.size() + path.size());
    target.append(folder);
    target.append(path);
    return target;
}

bool LinkChecker::isCheckableType(QStringView link, KnownExtensions &known) const
{
    // The type list is searched as one string, so a part of an extension
    // ("ml" of "html") passes too, and no extension passes a non-empty list.
    const QStringView extension = linkExtensionOf(link);
    if (extension.isEmpty())
        return !options_.checkableFileTypes.isEmpty();
    for (const KnownExtension &answer : known) {
        if (extension == QStringView(answer.extension))
            return answer.checkable;
    }
    const QString lowered = LowerCaseAccented(extension);
    const bool checkable = (options_.includePhpFiles == 1 && lowered == QStringLiteral("php"))
                           || options_.checkableFileTypes.contains(lowered);
    if (known.size() < kKnownExtensionsKept)
        known.push_back(KnownExtension{extension.toString(), checkable});
    return checkable;
}

bool LinkChecker::IsExcludedLink(QStringView link) const
{
    if (link.isEmpty() || link.startsWith(u'/'))
        return true;
    for (const QString &exclusion : loweredLinkExclusions_) {
        if (ContainsInLowered(link, exclusion))
            return true;
    }
    return false;
}

qint32 LineCounter::LineAt(qsizetype lineStart)
{
    // Counted only as far as asked: most lines of a page are never asked
    // about. A CR LF pair is one line end, counted at its LF.
    if (countedTo >= lineStart)
        return line;
    const char16_t *units = text.utf16();
    if (CountUnit(units, countedTo, lineStart, u'\r') == 0) {
        line += qint32(CountUnit(units, countedTo, lineStart, u'\n'));
        countedTo = lineStart;
        return line;
    }
    const QChar *data = text.constData();
    for (; countedTo < lineStart; ++countedTo) {
        const QChar c = data[countedTo];
        if (c == u'\n'
            || (c == u'\r' && (countedTo + 1 >= text.size() || data[countedTo + 1] != u'\n')))
            ++line;
    }
    return line;
}

QString DecodeLink(QStringView link)
{
    QString path = link.toString();
    for (const Replacement &r : kLinkEscapes) {
        if (r.replaceBy.isEmpty())
            path.replace(u'/', PathSeparator());
        else if (path.contains(r.find))
            path.replace(r.find.toString(), r.replaceBy.toString());
    }
    return path;
}

QString BrokenLinksSoFarText(qint32 numBrokenLinks)
{
    if (numBrokenLinks == 1)
        return QStringLiteral("One broken link found so far.");
    return QString::number(numBrokenLinks) + QStringLiteral(" broken links found so far.");
}

} // namespace quillan
