#include "scan/LinkChecker.h"

#include "scan/LinkCheckerSearch.h"
#include "scan/LinkText.h"
#include "scan/LinkTextMemo.h"
#include "scan/PageBuffer.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"
#include "util/UnitScan.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <string_view>
#include <type_traits>
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

// A link's text as the page's text holds it, written into `text` (whose
// room is used again): UTF-16 as it stands, or UTF-8 decoded as the whole
// page would be (a link begins and ends beside a quote, where no sequence of
// several bytes can be cut).
void SetLinkText(QString &text, const char16_t *begin, const char16_t *end)
{
    text.resize(end - begin);
    std::copy(begin, end, reinterpret_cast<char16_t *>(text.data()));
}

void SetLinkText(QString &text, const char *begin, const char *end)
{
    // Most links are ASCII, written into the room `text` already has.
    if (FindNonAscii(begin, 0, end - begin) >= 0) {
        text = DecodeNativeName(QByteArrayView(begin, end));
        return;
    }
    text.resize(end - begin);
    std::transform(begin, end, reinterpret_cast<char16_t *>(text.data()),
                   [](char c) { return char16_t(static_cast<unsigned char>(c)); });
}

} // namespace

namespace {

std::atomic<quint64> lastCheckerId{0};

// The type test's answers for the extensions met so far, kept by each
// thread from page to page: a site uses a handful of extensions, and the
// test searches the whole type list. An extension takes the place of the
// one in its slot, so those met once (a query's text) crowd out no others.
struct KnownExtensions {
    struct Answer {
        QString extension; // as written in the link; empty: none yet
        bool checkable = false;
    };
    static constexpr size_t kSlots = 64;

    quint64 checker = 0; // the checker that gave the answers
    std::array<Answer, kSlots> answers;

    static size_t SlotOf(QStringView extension)
    {
        auto hash = size_t(extension.size());
        for (const QChar c : extension.first(qMin<qsizetype>(extension.size(), 8)))
            hash = hash * 31 + c.unicode();
        return hash % kSlots;
    }
};

thread_local KnownExtensions knownExtensions;

// What a link's text (between the key and the closing quote) came to on a
// page of the folder: the target it names and whether that is on the disk.
struct KnownLink {
    QString link;   // the text as the report gives it
    QString target; // "" when the link is not checked
    bool exists = false;
};

thread_local LinkTextMemo<KnownLink> knownLinks;

} // namespace

LinkChecker::LinkChecker(const ScanState &state, const ScanOptions &options)
    : id_(++lastCheckerId), options_(options), loweredLinkExclusions_(LoweredLinkExclusions(state))
{
}

PageReadResult LinkChecker::ReadPage(const PageToRead &page, std::vector<BrokenLink> &found) const
{
    // Whatever could be read is examined; a read error just ends the page.
    PageReadResult result;
    PageBuffer buffer;
    QByteArray &bytes = buffer.Bytes();
    if (!page.ReadBytes(bytes)) {
        result.read = false;
        return result;
    }
#ifdef Q_OS_WIN
    const QString text = DecodeLocaleText(bytes);
    return ReadText(UnitsOf(text), page, found);
#else
    // The locale's text is read as UTF-8 (see DecodeLocaleText): the page
    // is searched in its bytes, half the size of its UTF-16 text, and only
    // its links are decoded.
    return ReadText(Utf8TextOf(bytes), page, found);
#endif
}

template <typename Unit>
PageReadResult LinkChecker::ReadText(std::basic_string_view<Unit> text, const PageToRead &page,
                                     std::vector<BrokenLink> &found) const
{
    PageReadResult result;
    // A link's target depends on the page's folder alone.
    knownLinks.Use(id_, page.folders.constLast());
    // Each thread keeps the lists of the keys' places from page to page.
    thread_local std::array<AttributeKey, 2> keys{AttributeKey{kHrefKey, KeyPlaces(kHrefKey.size())},
                                                  AttributeKey{kSrcKey, KeyPlaces(kSrcKey.size())}};
    for (AttributeKey &key : keys)
        key.places.Clear();
    FindAttributeKeys(text, std::span(keys));
    const KeyPlaces &hrefs = keys[0].places;
    const KeyPlaces &srcs = keys[1].places;

    // CR, LF and CR LF each end a line, so pages saved on any system give
    // the same lines. Only a line holding one of the keys can give a link,
    // so the others are passed over without being looked at.
    const Unit *units = text.data();
    const auto size = qsizetype(text.size());
    LineCounter<Unit> lines{text};
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
        if (checkLine(text, lineStart, marks, hrefs, srcs, page, lines, found))
            ++result.linksChecked;
        pos = marks.end + 1;
        if (pos < size && units[marks.end] == Unit('\r') && units[pos] == Unit('\n'))
            ++pos;
    }
    return result;
}

template <typename Unit>
bool LinkChecker::checkLine(std::basic_string_view<Unit> text, qsizetype lineStart,
                            const LineMarks &marks, const KeyPlaces &hrefs, const KeyPlaces &srcs,
                            const PageToRead &page, LineCounter<Unit> &lines,
                            std::vector<BrokenLink> &found) const
{
    const Unit *units = text.data();
    // Characters up to the space are trimmed from both ends (in UTF-8 the
    // same: every byte of a longer sequence is above 127).
    auto isTrimmed = [](Unit c) { return std::make_unsigned_t<Unit>(c) <= 32; };
    qsizetype start = lineStart;
    qsizetype end = marks.end;
    while (start < end && isTrimmed(units[start]))
        ++start;
    while (end > start && isTrimmed(units[end - 1]))
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
    const qsizetype quote = FindUnit(units, linkStart, end, Unit('"'));
    if (quote < 0)
        return false;
    const Unit *closingQuote = units + quote;

    bool isKnown = false;
    KnownLink &known = knownLinks.Find(units + linkStart, closingQuote - (units + linkStart), isKnown);
    if (!isKnown) {
        // The slot's strings are written over, their room used again (a
        // broken link recorded keeps a copy of its own).
        SetLinkText(known.link, units + linkStart, closingQuote);
        resolveLink(known.link, page, known.target);
        known.exists = !known.target.isEmpty() && lookups_.FileExists(known.target);
    }
    if (known.target.isEmpty())
        return false;
    if (!known.exists)
        found.push_back(BrokenLink{page.path, known.target, lines.LineAt(lineStart), known.link});
    return true;
}

template PageReadResult LinkChecker::ReadText(std::u16string_view, const PageToRead &,
                                              std::vector<BrokenLink> &) const;
template PageReadResult LinkChecker::ReadText(std::string_view, const PageToRead &,
                                              std::vector<BrokenLink> &) const;

std::string_view Utf8TextOf(const QByteArray &bytes)
{
    std::string_view text(bytes.constData(), size_t(bytes.size()));
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    return text;
}

void LinkChecker::resolveLink(QStringView link, const PageToRead &page, QString &target) const
{
    if (!target.isDetached())
        target = QString(); // shared with a recorded link or a look-up: left to them
    target.resize(0);
    // A browser drops what stands around the link inside its quotes; a link
    // of only a query names the page itself.
    link = TrimControlChars(link);
    if (link.startsWith(u'?'))
        return;
    // Most links hold none of the marks looked for below: one search over
    // the link rules them all out.
    const bool plain = FindAnyOf(link.utf16(), 0, link.size(), u':', u'#', u'&', u'%') < 0;
    // Every mark of a link that leaves the site holds a colon.
    if (!plain && ContainsChar(link, u':')) {
        if (StartsWithUrlScheme(link))
            return;
        for (QStringView mark : kNotLocalMarks) {
            if (ContainsInLowered(link, mark))
                return;
        }
    }
    const qsizetype fragment = plain ? -1 : IndexOfChar(link, u'#');
    if (fragment >= 0)
        link = link.first(fragment);
    if (IsExcludedLink(link) || !isCheckableType(link))
        return;

    QString decoded;
    QStringView path = link;
    if ((!plain && (ContainsChar(link, u'&') || ContainsChar(link, u'%'))) || PathSeparator() != u'/') {
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
        return;
    const QString &folder = page.folders[depth];
    // Qt's reserve() makes fresh room even for a size the string already has
    // room for exactly, as a site's targets of one length would ask.
    if (const qsizetype size = folder.size() + path.size(); target.capacity() < size)
        target.reserve(size);
    target.append(folder);
    target.append(path);
}

bool LinkChecker::isCheckableType(QStringView link) const
{
    const QStringView extension = linkExtensionOf(link);
    if (extension.isEmpty())
        return !options_.checkableFileTypes.isEmpty();
    KnownExtensions &known = knownExtensions;
    if (known.checker != id_) {
        known = KnownExtensions();
        known.checker = id_;
    }
    KnownExtensions::Answer &answer = known.answers[KnownExtensions::SlotOf(extension)];
    if (answer.extension.isEmpty() || extension != QStringView(answer.extension))
        answer = KnownExtensions::Answer{extension.toString(), isCheckableExtension(extension)};
    return answer.checkable;
}

bool LinkChecker::isCheckableExtension(QStringView extension) const
{
    // The type list is searched as one string, so a part of an extension
    // ("ml" of "html") passes too, and no extension passes a non-empty list.
    const QString lowered = LowerCaseAccented(extension);
    return (options_.includePhpFiles == 1 && lowered == QStringLiteral("php"))
           || options_.checkableFileTypes.contains(lowered);
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
