#include "scan/BrowserLinkChecker.h"

#include "scan/LinkChecker.h"
#include "scan/LinkText.h"
#include "scan/LinkTextMemo.h"
#include "scan/PageBuffer.h"
#include "util/FileProc.h"
#include "util/NativeName.h"
#include "util/StrProc.h"
#include "util/ThreadKept.h"
#include "util/UnitScan.h"

#include <QMutexLocker>

#include <algorithm>
#include <atomic>
#include <type_traits>
#include <utility>

namespace quillan {

namespace {

bool isSlash(QChar c)
{
    return c == u'/' || c == u'\\';
}

// The bytes `text` stands for, each %XX decoded; other characters are taken
// as `encode` gives their bytes.
template <typename Encode>
QByteArray percentDecoded(QStringView text, Encode encode)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype literal = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%' || i + 2 >= text.size())
            continue;
        const int high = HexDigitValue(text[i + 1].unicode());
        const int low = HexDigitValue(text[i + 2].unicode());
        if (high < 0 || low < 0)
            continue;
        bytes += encode(text.sliced(literal, i - literal));
        bytes += char(high * 16 + low);
        i += 2;
        literal = i + 1;
    }
    bytes += encode(text.sliced(literal));
    return bytes;
}

// The relative paths work with "/"; the disk with the platform's separator.
QString toNative(QString relative)
{
    if (PathSeparator() != u'/')
        relative.replace(u'/', PathSeparator());
    return relative;
}

QString fromNative(QString path)
{
    if (PathSeparator() != u'/')
        path.replace(PathSeparator(), u'/');
    return path;
}

QStringView folderOf(QStringView relative)
{
    return relative.first(LastIndexOfChar(relative, u'/') + 1);
}

// Sets `text` to `units` in the room it has, when that is its own and
// enough: the texts a thread keeps from page to page.
void SetKeepingRoom(QString &text, QStringView units)
{
    if (!text.isDetached() || text.capacity() < units.size()) {
        text = units.toString();
        return;
    }
    text.resize(units.size()); // never gives room back
    std::copy_n(units.utf16(), units.size(), reinterpret_cast<char16_t *>(text.data()));
}

// A link's value with a buffer of its own: the value may view the page's
// text, and a broken link outlives the page.
QString OwnCopy(const QString &value)
{
    return QString(value.constData(), value.size());
}

bool climbsOut(QStringView relative)
{
    return relative == u".." || relative.startsWith(u"../");
}

std::atomic<quint64> lastBrowserCheckerId{0};

// Readies the page a reading thread reads a page's links into for the next
// page (see ThreadKept): the room for the links is taken from the allocator
// once rather than for every page, up to a bound.
void ReleaseHtmlPage(HtmlPage &page)
{
    constexpr std::size_t kMostKeptLinks = 16384;
    if (page.links.capacity() > kMostKeptLinks)
        page.links = {};
    else
        page.links.clear();
    page.anchors.clear();
}

} // namespace

// Where a page's links start from.
struct BrowserLinkChecker::PageContext {
    QString document; // the page, relative
    QString folder;   // its folder, relative
    // The first <base href>: links resolve against it instead of the page.
    QString baseDocument;
    bool baseNotLocal = false;
    // Room for the value of a link left in UTF-8, decoded when it is needed
    // (HtmlLinkValue): to be resolved, or to be recorded broken.
    QString value;
};

void BrowserLinkChecker::ReadyForNextPage(PageContext &context)
{
    // The base shares the page's text: let go, so that text is the thread's
    // own again, to be written over. A long path's room is let go too.
    constexpr qsizetype kMostKeptUnits = 4096;
    context.baseDocument = QString();
    context.baseNotLocal = false;
    for (QString *text : {&context.document, &context.folder, &context.value}) {
        if (text->capacity() > kMostKeptUnits)
            *text = QString();
    }
}

struct BrowserLinkChecker::Target {
    QString relative; // unset when the link leads to its own document
    // The path is empty: the link leads to the page, or to its base.
    bool toDocument = false;
    bool hasFragment = false;
    // The fragment as written, taken only when anchors are checked.
    QString fragment;
};

struct BrowserLinkChecker::KnownLink {
    bool checked = false; // false for a link that is not to be checked
    Target target;
    // The disk's answer for the target, asked when first needed.
    enum class Lookup : uint8_t { NotYet, Found, Missing } lookup = Lookup::NotYet;
    QString targetPage;
    // For a link found broken: the target's path as the reports give it,
    // and the text last recorded. A missing page is mostly named by many
    // pages of a folder (a menu's link): their records share these texts
    // rather than each copying them.
    QString brokenTarget;
    QString recordedText;
};

// What each thread knows of the texts of ordinary links, by the folder
// they resolve from.
struct BrowserLinkChecker::KnownLinks : LinkTextMemo<KnownLink> {
};

QString CleanLinkText(QStringView link)
{
    link = TrimControlChars(link);
    QString cleaned = link.toString();
    if (link.contains(u'\t') || link.contains(u'\n') || link.contains(u'\r')) {
        cleaned.removeIf([](QChar c) { return c == u'\t' || c == u'\n' || c == u'\r'; });
    }
    return cleaned;
}

QString CleanLinkText(const QString &link)
{
    // Most links are clean already: they are shared, not copied.
    if (link.isEmpty())
        return link;
    const bool clean = link.front().unicode() > 32 && link.back().unicode() > 32
                       && FindAnyOf(QStringView(link).utf16(), 0, link.size(), u'\t', u'\n', u'\r', u'\r') < 0;
    return clean ? link : CleanLinkText(QStringView(link));
}

QString DecodeLinkPath(QStringView path)
{
    QString name;
    if (ContainsChar(path, u'%')) {
        // A name's bytes need not be in the locale's encoding: what does not
        // decode is kept as DecodeNativeName keeps it, so the disk sees the
        // very bytes the link gave.
        name = DecodeNativeName(percentDecoded(path, [](QStringView run) { return EncodeNativeName(run); }));
    } else {
        name = path.toString();
    }
    name.replace(u'\\', u'/');
    return name;
}

QString ResolveSitePath(QStringView folder, QStringView path)
{
    QString resolved;
    ResolveSitePathInto(folder, path, resolved);
    return resolved;
}

namespace {

// Whether a folder is written as the resolving keeps it: empty, or its
// segments each ended by "/", none of them empty.
bool IsPlainFolder(QStringView folder)
{
    if (folder.isEmpty())
        return true;
    if (folder.startsWith(u'/') || !folder.endsWith(u'/'))
        return false;
    bool emptySegment = false;
    ForEachPair(folder.utf16(), folder.size(), u'/', u'/', 0, [&](qsizetype) {
        emptySegment = true;
        return false;
    });
    return !emptySegment;
}

// Whether each segment of `path` is a name, neither "." nor "..", and none
// is empty but the last (the "/" a folder's link ends with).
bool HoldsNamesOnly(QStringView path)
{
    const char16_t *const units = path.utf16();
    const qsizetype size = path.size();
    for (qsizetype begin = 0; begin < size;) {
        qsizetype end = FindUnit(units, begin, size, u'/');
        if (end < 0)
            end = size;
        const qsizetype length = end - begin;
        if (length == 0 || (units[begin] == u'.' && (length == 1 || (length == 2 && units[begin + 1] == u'.'))))
            return false;
        begin = end + 1;
    }
    return true;
}

// ResolveSitePathInto for the links most pages hold: some "../", then names
// ("../../boost/array.hpp"), from a folder written plainly. The folder's
// segments that are left and the names are copied as they stand; false,
// `resolved` untouched, for any other link.
bool ResolveClimbing(QStringView folder, QStringView path, QString &resolved)
{
    const char16_t *const units = path.utf16();
    qsizetype begin = 0;
    qsizetype climbs = 0;
    while (path.size() - begin >= 3 && units[begin] == u'.' && units[begin + 1] == u'.' && units[begin + 2] == u'/') {
        begin += 3;
        ++climbs;
    }
    const QStringView names = path.sliced(begin);
    if (!HoldsNamesOnly(names) || !IsPlainFolder(folder))
        return false;
    // Each "../" takes the folder's last segment, and past its first, stays.
    const char16_t *const kept = folder.utf16();
    qsizetype keep = folder.size();
    for (; climbs > 0 && keep > 0; --climbs) {
        qsizetype start = keep - 1;
        while (start > 0 && kept[start - 1] != u'/')
            --start;
        if (keep - start == 3 && kept[start] == u'.' && kept[start + 1] == u'.')
            return false; // a base out of the top folder: climbed the long way
        keep = start;
    }
    resolved.resize(keep + 3 * climbs + names.size());
    auto *out = reinterpret_cast<char16_t *>(resolved.data());
    out = std::copy_n(kept, keep, out);
    for (; climbs > 0; --climbs)
        out = std::copy_n(u"../", 3, out);
    std::copy_n(names.utf16(), names.size(), out);
    return true;
}

} // namespace

void ResolveSitePathInto(QStringView folder, QStringView path, QString &resolved)
{
    if (ResolveClimbing(folder, path, resolved))
        return;
    // Built in one buffer that holds the segments kept so far, each ending
    // with "/": this runs for every link of every page. Each segment of the
    // path gives at most itself and a "/" (".." past the top "../"), and the
    // folder at most itself and a "/".
    const bool fromRoot = path.startsWith(u'/');
    resolved.resize(folder.size() + path.size() + 2);
    auto *const out = reinterpret_cast<char16_t *>(resolved.data());
    qsizetype size = 0;
    auto append = [&](QStringView piece) {
        std::copy(piece.utf16(), piece.utf16() + piece.size(), out + size);
        size += piece.size();
    };
    if (!fromRoot) {
        // A page's folder is kept as it is written when it is one already.
        if (IsPlainFolder(folder)) {
            append(folder);
        } else {
            for (QStringView segment : folder.tokenize(u'/', Qt::SkipEmptyParts)) {
                append(segment);
                out[size++] = u'/';
            }
        }
    }
    // Where the last kept segment begins.
    auto lastSegmentStart = [&] {
        qsizetype i = size - 2;
        while (i >= 0 && out[i] != u'/')
            --i;
        return i + 1;
    };
    // Whether [at, at + size) of `text` is "." or "..", told by their units:
    // this runs for each segment of each link.
    const auto isDots = [](const char16_t *at, qsizetype size, qsizetype dots) {
        return size == dots && at[0] == u'.' && (dots == 1 || at[1] == u'.');
    };
    bool endsAsFolder = path.isEmpty();
    for (qsizetype begin = 0; begin <= path.size();) {
        qsizetype end = FindUnit(path.utf16(), begin, path.size(), u'/');
        if (end < 0)
            end = path.size();
        const QStringView segment = path.sliced(begin, end - begin);
        begin = end + 1;
        // An empty last segment is the "/" a folder's link ends with; "." and
        // ".." at the end name a folder too.
        endsAsFolder = true;
        if (segment.isEmpty() || isDots(segment.utf16(), segment.size(), 1))
            continue;
        if (isDots(segment.utf16(), segment.size(), 2)) {
            const qsizetype last = size == 0 ? -1 : lastSegmentStart();
            if (last >= 0 && !isDots(out + last, size - last - 1, 2)) // each kept segment ends with "/"
                size = last;
            else if (!fromRoot)
                append(u"../"); // out of the top folder: checked all the same
            continue;
        }
        endsAsFolder = false;
        append(segment);
        out[size++] = u'/';
    }
    if (!endsAsFolder && size > 0)
        --size;
    resolved.truncate(size);
}

bool HasAnchor(const QSet<QString> &anchors, QStringView fragment)
{
    if (fragment.isEmpty() || fragment.compare(u"top", Qt::CaseInsensitive) == 0)
        return true;
    if (anchors.contains(fragment.toString()))
        return true;
    if (!fragment.contains(u'%'))
        return false;
    const QString decoded =
        QString::fromUtf8(percentDecoded(fragment, [](QStringView run) { return run.toUtf8(); }));
    return anchors.contains(decoded);
}

BrowserLinkChecker::BrowserLinkChecker(const ScanState &state, const ScanOptions &options)
    : id_(++lastBrowserCheckerId), options_(options), loweredLinkExclusions_(LoweredLinkExclusions(state)),
      fragmentsAlike_(!options.checkAnchors && loweredLinkExclusions_.isEmpty())
{
}

BrowserLinkChecker::~BrowserLinkChecker() = default;

PageReadResult BrowserLinkChecker::ReadPage(const PageToRead &page,
                                            std::vector<BrokenLink> &found) const
{
    PageBuffer buffer;
    QByteArray &bytes = buffer.Bytes();
    if (!page.ReadBytes(bytes))
        return PageReadResult{false, 0};
    ThreadKept<HtmlPage, &ReleaseHtmlPage> kept;
    HtmlPage &html = kept.Get();
    const HtmlText text = HtmlText::Of(bytes);
    ReadHtmlLinks(text, html, options_.checkAnchors, HtmlLinksUse::CheckedNow);
    if (options_.checkAnchors) {
        // Kept for the links to this page from pages read later.
        QMutexLocker lock(&anchorsMutex_);
        if (!anchorsByPage_.contains(page.path))
            anchorsByPage_.insert(page.path, std::make_shared<const QSet<QString>>(html.anchors));
    }
    return PageReadResult{true, CheckLinks(page, html, found, text)};
}

qint32 BrowserLinkChecker::CheckLinks(const PageToRead &page, const HtmlPage &html,
                                      std::vector<BrokenLink> &found, const HtmlText &text) const
{
    HtmlLineCounter lines = text.IsUtf8() ? HtmlLineCounter(text.Utf8()) : HtmlLineCounter(text.Utf16());
    const QString &top = options_.topFolder;
    ThreadKept<PageContext, &BrowserLinkChecker::ReadyForNextPage> keptContext;
    PageContext &context = keptContext.Get();
    SetKeepingRoom(context.document, QStringView(page.path).sliced(top.size()));
    context.document = fromNative(std::move(context.document));
    SetKeepingRoom(context.folder, folderOf(context.document));
    context.baseDocument = context.document;
    // The first base sets the base of every link of the page, those before
    // it included, as a browser resolves them once the page is loaded.
    for (const HtmlLink &link : html.links) {
        if (link.kind != HtmlLinkKind::Base)
            continue;
        Target base;
        const QString &value = HtmlLinkValue(link, context.value);
        if (resolve(link, value, context, base)) {
            if (!base.toDocument)
                context.baseDocument = base.relative;
        } else {
            const QString cleaned = CleanLinkText(value);
            context.baseNotLocal = StartsWithUrlScheme(cleaned) || cleaned.startsWith(u"//");
        }
        break;
    }

    qint32 checked = 0;
    KnownLinks &known = knownLinksFor(context);
    // The target of a link that is not kept: its path's buffer is written
    // over each time.
    KnownLink scratch;
    // The page a link to the document leads to; the page found is wanted
    // only to look for its anchors.
    QString documentPage;
    QString *const wantedPage = options_.checkAnchors ? &documentPage : nullptr;
    for (const HtmlLink &link : html.links) {
        KnownLink &resolved = linkTarget(link, context, known, scratch);
        if (!resolved.checked)
            continue;
        ++checked;
        const Target &target = resolved.target;
        const QString &relative = !target.toDocument               ? target.relative
                                  : link.kind == HtmlLinkKind::Base ? context.document
                                                                    : context.baseDocument;
        // Pointed to, never copied: a copy of a text another thread holds
        // too (a page's path, an answer of the shared table) would have
        // the threads take turns at its count of users, link after link.
        const QString *targetPage = &page.path;
        const bool toThisPage = relative == context.document; // just read, so it is there
        bool present = true;
        if (!toThisPage && target.toDocument) {
            present = foundTarget(relative, wantedPage);
            targetPage = &documentPage;
        } else if (!toThisPage) {
            // The same text leads to the same target from every page of the folder.
            if (resolved.lookup == KnownLink::Lookup::NotYet)
                resolved.lookup = foundTarget(relative, options_.checkAnchors ? &resolved.targetPage : nullptr)
                                      ? KnownLink::Lookup::Found
                                      : KnownLink::Lookup::Missing;
            present = resolved.lookup == KnownLink::Lookup::Found;
            targetPage = &resolved.targetPage;
        }
        if (!present) {
            // A path to the document is the page's own; any other is the
            // known link's, the same from every page of the folder.
            QString targetPath;
            if (target.toDocument) {
                targetPath = top + toNative(relative);
            } else {
                if (resolved.brokenTarget.isNull())
                    resolved.brokenTarget = top + toNative(relative);
                targetPath = resolved.brokenTarget;
            }
            const QString &value = HtmlLinkValue(link, context.value);
            if (resolved.recordedText.isNull() || resolved.recordedText != value)
                resolved.recordedText = OwnCopy(value);
            found.push_back(BrokenLink{page.path, std::move(targetPath), HtmlLinkLine(link, lines),
                                       resolved.recordedText});
            continue;
        }
        if (!options_.checkAnchors || !target.hasFragment || climbsOut(relative))
            continue;
        if (!isSitePage(relative, *targetPage))
            continue;
        if (*targetPage == page.path) {
            present = HasAnchor(html.anchors, target.fragment);
        } else {
            present = HasAnchor(*anchorsOf(*targetPage), target.fragment);
        }
        if (!present)
            found.push_back(BrokenLink{page.path, *targetPage + u'#' + target.fragment, HtmlLinkLine(link, lines),
                                       OwnCopy(HtmlLinkValue(link, context.value))});
    }
    return checked;
}

// Ready for another link: its buffers are kept for the texts to come.
void BrowserLinkChecker::Forget(KnownLink &known)
{
    known.lookup = KnownLink::Lookup::NotYet;
    known.targetPage.clear();
    known.target.toDocument = false;
    known.target.hasFragment = false;
    known.target.fragment.clear();
    known.brokenTarget.clear(); // records may share these: let go, never written over
    known.recordedText.clear();
}

BrowserLinkChecker::KnownLinks &BrowserLinkChecker::knownLinksFor(const PageContext &context) const
{
    thread_local KnownLinks known;
    known.Use(id_, folderOf(context.baseDocument), context.baseNotLocal);
    return known;
}

BrowserLinkChecker::KnownLink &BrowserLinkChecker::linkTarget(const HtmlLink &link, PageContext &context,
                                                              KnownLinks &known, KnownLink &scratch) const
{
    // A base or an include is met once a page, and an include resolves from
    // the page's folder whatever the base: those are resolved each time.
    if (link.kind != HtmlLinkKind::Link) {
        Forget(scratch);
        scratch.checked = resolve(link, HtmlLinkValue(link, context.value), context, scratch.target);
        return scratch;
    }
    // A value left in UTF-8 is known by its bytes, and decoded only when
    // it is met for the first time.
    bool isKnown = false;
    KnownLink &answer = link.IsUtf8()
                            ? known.Find(link.utf8.data(), keyLength(link.utf8.data(), link.utf8.size()), isKnown)
                            : known.Find(QStringView(link.value).utf16(),
                                         keyLength(QStringView(link.value).utf16(), link.value.size()), isKnown);
    if (!isKnown) {
        Forget(answer);
        answer.checked = resolve(link, HtmlLinkValue(link, context.value), context, answer.target);
    }
    return answer;
}

template <typename Unit>
qsizetype BrowserLinkChecker::keyLength(const Unit *units, qsizetype size) const
{
    // A reference names one page with many fragments ("#method.push",
    // "#method.pop"...): where the fragment changes nothing, the text before
    // "#" is what is kept. Not where a space or control comes before the
    // "#": the link's own path keeps it, while the shorter text would lose
    // it to the trimming of its end. (A byte of a longer UTF-8 sequence
    // stands above the space, as its character does.) Nor after "&": in a
    // value as written, "&#" begins a character reference ("&#35;" is "#"),
    // which the text before the "#" would cut in two.
    if (!fragmentsAlike_)
        return size;
    const qsizetype hash = FindUnit(units, 0, size, Unit('#'));
    if (hash == 0 || (hash > 0 && std::make_unsigned_t<Unit>(units[hash - 1]) > u' ' && units[hash - 1] != Unit('&')))
        return hash;
    return size;
}

bool BrowserLinkChecker::resolve(const HtmlLink &link, const QString &value, const PageContext &context,
                                 Target &target) const
{
    const QString cleaned = CleanLinkText(value);
    // Another site, a scheme of its own (tel:, data:, ...), or a host named
    // after "//" (a browser reads "\" as "/" there too).
    if (StartsWithUrlScheme(cleaned))
        return false;
    if (cleaned.size() >= 2 && isSlash(cleaned[0]) && isSlash(cleaned[1]))
        return false;
    if (isExcludedLink(cleaned))
        return false;
    if (link.kind == HtmlLinkKind::Link && context.baseNotLocal)
        return false;

    // The fragment, the query and whether the path needs decoding, in one
    // look at the link, a register at a time: this runs for every link, and
    // most links hold none of these.
    qsizetype hash = -1;
    qsizetype query = -1;
    bool toDecode = false;
    const char16_t *units = QStringView(cleaned).utf16();
    for (qsizetype i = FindAnyOf(units, 0, cleaned.size(), u'#', u'?', u'%', u'\\'); i >= 0;
         i = FindAnyOf(units, i + 1, cleaned.size(), u'#', u'?', u'%', u'\\')) {
        if (units[i] == u'#') {
            hash = i;
            break;
        }
        if (query < 0) {
            if (units[i] == u'?')
                query = i;
            else
                toDecode = true;
        }
    }
    QStringView path = cleaned;
    if (hash >= 0) {
        target.hasFragment = true;
        if (options_.checkAnchors)
            target.fragment = path.sliced(hash + 1).toString();
        path = path.first(hash);
    }
    if (query >= 0)
        path = path.first(query);
    QString decodedPath;
    QStringView decoded = path;
    if (toDecode) {
        decodedPath = DecodeLinkPath(path);
        decoded = decodedPath;
    }

    switch (link.kind) {
    case HtmlLinkKind::Link:
    case HtmlLinkKind::Base: {
        // The base's own href resolves against the page. An empty path
        // leads to the document itself, which the caller knows.
        const QString &document =
            link.kind == HtmlLinkKind::Base ? context.document : context.baseDocument;
        target.toDocument = decoded.isEmpty();
        if (!target.toDocument)
            ResolveSitePathInto(folderOf(document), decoded, target.relative);
        break;
    }
    case HtmlLinkKind::IncludeVirtual:
    case HtmlLinkKind::IncludeFile: {
        // A server's includes ignore the base: "virtual" from the top folder
        // when it begins with "/", otherwise from the page's folder.
        QStringView included = decoded;
        if (link.kind == HtmlLinkKind::IncludeFile) {
            while (included.startsWith(u'/'))
                included = included.sliced(1);
        }
        ResolveSitePathInto(context.folder, included, target.relative);
        break;
    }
    }
    return true;
}

bool BrowserLinkChecker::foundTarget(const QString &relative, QString *page) const
{
    // The pages of a site name the same targets over and over (menus, the
    // pages beside them, a missing page every page links to): each target is
    // looked up on the disk once. A missing one is kept as "".
    const quint64 hash = HashOfPath(relative);
    bool present = false;
    if (found_.FindThen(relative, hash, [&](const QString &known) {
            present = !known.isEmpty();
            if (page != nullptr)
                *page = known;
        }))
        return present;
    // Without anchors, only whether a target was found is ever wanted: a
    // found one is kept as a mark, not as its page's path.
    QString foundPage;
    const bool found = findTarget(relative, options_.checkAnchors ? &foundPage : nullptr);
    if (!found)
        foundPage.clear();
    if (page != nullptr)
        *page = foundPage;
    static const QString kFound = QStringLiteral("found"); // static text: copies count no users
    found_.Keep(relative, hash, found && !options_.checkAnchors ? kFound : foundPage);
    return found;
}

bool BrowserLinkChecker::isExcludedLink(QStringView cleaned) const
{
    for (const QString &exclusion : loweredLinkExclusions_) {
        if (ContainsInLowered(cleaned, exclusion))
            return true;
    }
    return false;
}

bool BrowserLinkChecker::findTarget(const QString &relative, QString *page) const
{
    // Written over for each target, in the room the thread's last one left
    // (unless it went on as the page found).
    thread_local QString path;
    constexpr qsizetype kMostKeptUnits = 4096;
    path.resize(0);
    path.append(options_.topFolder);
    path.append(toNative(relative));
    QString found;
    if (relative.isEmpty() || relative.endsWith(u'/')) {
        found = indexPageOf(path);
    } else if (disk_.FileExists(path)) {
        found = path;
    } else if (disk_.FolderExists(path)) {
        // A server answers a folder's link without the "/" with its index page.
        found = indexPageOf(path + PathSeparator());
    }
    if (path.capacity() > kMostKeptUnits)
        path = QString();
    if (page != nullptr)
        *page = found;
    return !found.isEmpty();
}

QString BrowserLinkChecker::indexPageOf(const QString &folderPath) const
{
    for (const QString &name : options_.indexPageNames) {
        QString page = folderPath + name;
        if (disk_.FileExists(page))
            return page;
    }
    return QString();
}

bool BrowserLinkChecker::isSitePage(const QString &relative, const QString &path) const
{
    if (climbsOut(relative) || !IsPageFileName(path, options_.includePhpFiles))
        return false;
    // Asked for every link with a fragment: each page's length is asked of
    // the disk once.
    {
        QMutexLocker lock(&anchorsMutex_);
        const auto known = sitePages_.constFind(path);
        if (known != sitePages_.constEnd())
            return *known;
    }
    const bool sitePage = FileLength(path) >= 1;
    QMutexLocker lock(&anchorsMutex_);
    if (sitePages_.size() >= TargetLookups::kMostKept)
        sitePages_.clear();
    sitePages_.insert(path, sitePage);
    return sitePage;
}

std::shared_ptr<const QSet<QString>> BrowserLinkChecker::anchorsOf(const QString &path) const
{
    {
        QMutexLocker lock(&anchorsMutex_);
        const auto known = anchorsByPage_.constFind(path);
        if (known != anchorsByPage_.constEnd())
            return *known;
    }
    // Read without the lock, so other pages go on being read meanwhile; a
    // page read twice at once is kept once.
    HtmlPage html;
    QByteArray bytes;
    if (ReadWholeFile(path, bytes))
        ReadHtmlLinks(HtmlText::Of(bytes), html, true, HtmlLinksUse::CheckedNow); // its anchors only
    auto anchors = std::make_shared<const QSet<QString>>(std::move(html.anchors));
    QMutexLocker lock(&anchorsMutex_);
    return *anchorsByPage_.insert(path, anchorsByPage_.value(path, anchors));
}

std::unique_ptr<PageReader> MakePageReader(const ScanState &state, const ScanOptions &options)
{
    if (options.readAsBrowser)
        return std::make_unique<BrowserLinkChecker>(state, options);
    return std::make_unique<LinkChecker>(state, options);
}

} // namespace quillan
