// Reading pages as a browser does: which links are checked, where they lead
// on the disk, folders and their index pages, bases, includes and anchors.

#include "LinkCheckerSite.h"

#include "scan/BrowserLinkChecker.h"
#include "util/NativeName.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace quillan::test {

namespace {

// A page whose lines are given as they stand.
QByteArray Lines(std::initializer_list<const char *> lines)
{
    QByteArray page;
    for (const char *line : lines)
        page += QByteArray(line) + "\r\n";
    return page;
}

std::string BrowserTargetsOf(std::initializer_list<const char *> links, bool anchors = false)
{
    return TargetsOfLinks(links, BrowserSetup(anchors));
}

} // namespace

TEST(BrowserLinkText, CleaningDecodingAndResolvingByTheText)
{
    EXPECT_EQ(CleanLinkText(u" \t a\tb\r\n.htm \n"), QStringLiteral("ab.htm"));
    EXPECT_EQ(CleanLinkText(u"my page.htm"), QStringLiteral("my page.htm"));

    EXPECT_EQ(DecodeLinkPath(u"a%2Bb%C3%BC%20c.htm"), QStringLiteral("a+bü c.htm"));
    // A decoded "/" or "\" separates as a written one does; a "%" that
    // starts no escape stays.
    EXPECT_EQ(DecodeLinkPath(u"a%2Fb%5Cc\\d.htm"), QStringLiteral("a/b/c/d.htm"));
    EXPECT_EQ(DecodeLinkPath(u"100%.htm%4"), QStringLiteral("100%.htm%4"));
    // Bytes that are not UTF-8 keep their bytes.
    EXPECT_EQ(EncodeNativeName(DecodeLinkPath(u"caf%E9.htm")), QByteArray("caf\xE9.htm"));

    const struct {
        const char16_t *folder;
        const char16_t *path;
        const char16_t *resolved;
    } rows[] = {
        {u"a/b/", u"c.htm", u"a/b/c.htm"},
        {u"a/b/", u"../c.htm", u"a/c.htm"},
        {u"a/", u"../../x.htm", u"../x.htm"},  // out of the top folder
        {u"a/", u"/x.htm", u"x.htm"},          // from the top folder
        {u"a/", u"/../../x.htm", u"x.htm"},    // a server's root has no parent
        {u"a/", u"./", u"a/"},
        {u"a/", u"..", u""},
        {u"a/", u"b/.", u"a/b/"},
        {u"a/", u"b//c", u"a/b/c"},
        {u"", u"/", u""},
        {u"../x/", u"../y", u"../y"},       // a base out of the top folder
        {u"../x/", u"../../../y", u"../../../y"},
        {u"a//b/", u"c", u"a/b/c"},          // a folder as a base may write it
        {u"/a/", u"../../c", u"../c"},
        // Names that begin or end with dots are names like any other.
        {u"a/", u".../x", u"a/.../x"},
        {u"a/..b/", u"../c", u"a/c"},
        {u"a/b../", u"../c", u"a/c"},
        {u"a/", u".x/..", u"a/"},
        {u"a/", u"x./.", u"a/x./"},
    };
    // One buffer written over for every row, as the checker writes it, and
    // kept elsewhere now and then: the answers are those of a fresh string.
    QString buffer = QStringLiteral("a longer text left from before");
    QString kept;
    QString keptExpected;
    for (const auto &row : rows) {
        const QString expected = QString::fromUtf16(row.resolved);
        EXPECT_EQ(ResolveSitePath(row.folder, row.path), expected) << QString::fromUtf16(row.path).toStdString();
        ResolveSitePathInto(row.folder, row.path, buffer);
        EXPECT_EQ(buffer, expected) << QString::fromUtf16(row.path).toStdString();
        EXPECT_EQ(kept, keptExpected); // the row before's, untouched by this one's
        kept = buffer;
        keptExpected = expected;
    }
}

// Resolves as the checker must, segment by segment: the folder's kept as
// written (empty ones dropped), then each of the path's: "." and "" stay,
// ".." takes the last kept one unless that is "..", and out of the top
// folder adds one ("/" first: from the top folder, whose parent is itself).
QString ResolvedBySegments(const QString &folder, const QString &path)
{
    const bool fromRoot = path.startsWith(u'/');
    QStringList kept = fromRoot ? QStringList() : folder.split(u'/', Qt::SkipEmptyParts);
    bool endsAsFolder = path.isEmpty();
    for (const QString &segment : path.split(u'/')) {
        endsAsFolder = true;
        if (segment.isEmpty() || segment == u".")
            continue;
        if (segment == u"..") {
            if (!kept.isEmpty() && kept.back() != u"..")
                kept.removeLast();
            else if (!fromRoot)
                kept.append(segment);
            continue;
        }
        endsAsFolder = false;
        kept.append(segment);
    }
    return kept.join(u'/') + (endsAsFolder && !kept.isEmpty() ? QStringLiteral("/") : QString());
}

TEST(BrowserLinkText, EveryMixOfClimbsNamesAndDotsResolvesSegmentBySegment)
{
    // Links of up to four segments from each kind, from folders written
    // plainly or not, down in the top folder or out of it.
    const auto texts = [](std::initializer_list<const char16_t *> units) {
        QStringList list;
        for (const char16_t *text : units)
            list.append(QString::fromUtf16(text));
        return list;
    };
    const QStringList folders = texts({u"", u"a/", u"a/b/c/", u"../x/", u"a/../", u"a//b/", u"/a/", u"a/./", u"a", u"../"});
    const QStringList segments = texts({u"..", u".", u"", u"b", u"c.htm", u"..."});
    QStringList paths{QString()};
    for (int length = 1; length <= 4; ++length) {
        QStringList longer;
        for (const QString &path : paths) {
            if (path.count(u'/') + 1 != length - 1 && length > 1)
                continue;
            for (const QString &segment : segments)
                longer.append(length == 1 ? segment : path + u'/' + segment);
        }
        paths += longer;
    }
    paths.removeDuplicates();
    QString buffer = QStringLiteral("left from before");
    int compared = 0;
    for (const QString &folder : folders) {
        for (const QString &path : paths) {
            ResolveSitePathInto(folder, path, buffer);
            EXPECT_EQ(buffer, ResolvedBySegments(folder, path)) << "'" << folder.toStdString() << "' + '"
                                                               << path.toStdString() << "'";
            ++compared;
        }
    }
    EXPECT_GT(compared, 10000);
}

TEST(BrowserLinks, SchemesHostsQueriesAndExclusionsAreNotCheckedAndEveryTypeIs)
{
    EXPECT_EQ(BrowserTargetsOf({"tel:+1555", "data:text/plain,x", "about:blank", "sms:1", "mw-data:x",
                                "ftp://h/x", "mailto:a@b", "javascript:void(0)", "//host/x.htm",
                                "\\\\host\\x.htm", "?page=2", "#", "", "  ", "index.htm?x#y",
                                "script.js", "page.asp", "C:/x.htm", "contact"}),
              "script.js|page.asp|C:/x.htm|contact");

    // Exclusion strings are matched on the cleaned link; "/x" links are not
    // left out for their "/".
    CheckSetup setup = BrowserSetup();
    setup.excludedLinks = QStringLiteral("old/");
    EXPECT_EQ(TargetsOfLinks({"Old/a.htm", "o\nld/b.htm", "/gone.htm", "new/c.htm"}, setup),
              "gone.htm|new/c.htm");
}

TEST(BrowserLinks, TheRecordKeepsTheValueAsGivenAndItsLine)
{
    TempTree site;
    site.file(QStringLiteral("index.htm"), Lines({"<p>", "<img src=\" gone.gif\n\">", "<a href=\"x.htm\">"}));
    const CheckOutcome outcome = CheckSite(site, BrowserSetup());
    ASSERT_EQ(outcome.targets, "gone.gif|x.htm");
    EXPECT_EQ(outcome.state.brokenLinks[1].link, QStringLiteral(" gone.gif\n"));
    EXPECT_EQ(outcome.state.brokenLinks[1].line, 2);
    EXPECT_EQ(outcome.state.brokenLinks[2].line, 4);
}

TEST(BrowserLinks, EscapesBackslashesAndWhitespaceNameTheFileOnDisk)
{
    TempTree site;
    for (const char *name : {"a+b.htm", "über.htm", "sub/x.htm", "my page.htm"})
        site.file(QString::fromUtf8(name));
    site.byteNamedFile("caf\xE9.htm");
    site.file(QStringLiteral("index.htm"),
              PageLinkingTo({"a%2Bb.htm", "%C3%BCber.htm", "sub%2Fx.htm", "sub\\x.htm", "my%20page.htm",
                             "my page.htm", " sub/x.htm\t", "s\tub/x.htm", "caf%E9.htm", "caf%E8.htm",
                             "%C3%9Cber.htm", "a%2bb.htm?q#f"}));
    // Letter case is exact; an escape names a byte, in any case of hex digit.
    EXPECT_EQ(CheckSite(site, BrowserSetup()).targets, "caf\uFFFD.htm|Über.htm");
}

TEST(BrowserLinks, FoldersAreFoundThroughTheirIndexPages)
{
    TempTree site;
    site.file(QStringLiteral("guide/index.html"));
    site.file(QStringLiteral("legacy/default.htm"));
    site.folder(QStringLiteral("bare"));
    site.file(QStringLiteral("top.htm"));
    site.file(QStringLiteral("guide/intro/page.htm"),
              PageLinkingTo({"../", "..", "../../guide", "../../legacy/", "../../bare/", "../../bare",
                             "../nothere/", "./", "/", "../../top.htm/", "/guide/index.html"}));
    EXPECT_EQ(CheckSite(site, BrowserSetup()).links,
              "guide/intro/page.htm -> bare/|guide/intro/page.htm -> bare"
              "|guide/intro/page.htm -> guide/nothere/|guide/intro/page.htm -> guide/intro/"
              "|guide/intro/page.htm -> |guide/intro/page.htm -> top.htm/");

    // The list of index pages can be changed.
    CheckSetup setup = BrowserSetup();
    setup.indexPageNames = QStringList{QStringLiteral("start.htm")};
    TempTree other;
    other.file(QStringLiteral("a/start.htm"));
    other.file(QStringLiteral("b/index.html"));
    other.file(QStringLiteral("index.htm"), PageLinkingTo({"a/", "b/"}));
    EXPECT_EQ(CheckSite(other, setup).targets, "b/");
}

TEST(BrowserLinks, RootLinksStartAtTheTopFolderAndClimbingOutIsCheckedOnTheDisk)
{
    TempTree outer;
    outer.file(QStringLiteral("shared.css"));
    outer.file(QStringLiteral("site/x.htm"));
    const QString top = outer.path(QStringLiteral("site")) + u'/';
    outer.file(QStringLiteral("site/a/page.htm"),
               PageLinkingTo({"/x.htm", "/../x.htm", "/a/gone.htm", "../../shared.css", "../../gone.css"}));

    ScanState state;
    state.EmptyBrokenLinks();
    state.blnCheckingLinks = true;
    ScanOptions options;
    options.topFolder = top;
    options.readAsBrowser = true;
    RecordingHost host;
    RunWalk(state, options, host);
    ASSERT_EQ(state.lngNumBrokenLinks, 2);
    EXPECT_EQ(state.brokenLinks[1].strLinkTo, top + QStringLiteral("a/gone.htm"));
    // Relative to the top folder it is written as it climbs out.
    EXPECT_EQ(state.brokenLinks[2].strLinkTo, top + QStringLiteral("../gone.css"));
}

TEST(BrowserLinks, TheFirstBaseSetsWhereEveryLinkOfThePageStartsFrom)
{
    TempTree site;
    site.file(QStringLiteral("docs/index.htm"));
    site.file(QStringLiteral("docs/a.htm"));
    site.file(QStringLiteral("index.htm"),
              Lines({"<a href=\"a.htm\">", "<base href=\"docs/\">", "<base href=\"other/\">",
                     "<a href=\"b.htm\">", "<a href=\"../docs/a.htm\">", "<img src=\"/docs/a.htm\">"}));
    // The link before the base resolves against it too; a second base is
    // in force for no link, but its href is checked as the first one's is.
    EXPECT_EQ(CheckSite(site, BrowserSetup()).targets, "other/|docs/b.htm");

    // The base's own href is checked.
    EXPECT_EQ(TargetsOfPage(Lines({"<base href=\"gone/\">", "<a href=\"x.htm\">"}), BrowserSetup()),
              "gone/|gone/x.htm");

    // A base on another site makes the relative links not local; a server's
    // include still is.
    TempTree remote;
    remote.file(QStringLiteral("index.htm"),
                Lines({"<base href=\"https://example.org/\">", "<a href=\"gone.htm\">", "<a href=\"#x\">",
                       "<a href=\"/gone.htm\">", "<!--#include virtual=\"/inc/gone.htm\" -->"}));
    EXPECT_EQ(CheckSite(remote, BrowserSetup(true)).targets, "inc/gone.htm");
}

TEST(BrowserLinks, TheSameTextLeadsWhereEachPageSays)
{
    // One thread reads every page, so what it learnt of a link's text on
    // one page is at hand on the next.
    CheckSetup setup = BrowserSetup();
    setup.jobs = 1;
    TempTree site;
    site.file(QStringLiteral("a/x.htm"));
    site.file(QStringLiteral("a/1.htm"), PageLinkingTo({"x.htm", "", "y.htm"}));
    site.file(QStringLiteral("a/2.htm"), PageLinkingTo({"x.htm", "", "y.htm"}));
    site.file(QStringLiteral("a/3.htm"),
              Lines({"<base href=\"../b/\">", "<a href=\"x.htm\">", "<a href=\"\">", "<a href=\"y.htm\">"}));
    site.file(QStringLiteral("b/1.htm"), PageLinkingTo({"x.htm", "", "y.htm"}));
    site.file(QStringLiteral("b/y.htm"), PageLinkingTo({"x.htm", "", "y.htm"}));
    site.file(QStringLiteral("c/1.htm"), Lines({"<base href=\"1.htm\">", "<a href=\"\">", "<a href=\"x.htm\">"}));
    site.file(QStringLiteral("c/2.htm"), Lines({"<base href=\"gone.htm\">", "<a href=\"\">"}));
    // An empty link is its own page (or its base), whichever page of the
    // folder holds it; a base elsewhere resolves the same texts elsewhere.
    EXPECT_EQ(CheckSite(site, setup).links,
              "a/1.htm -> a/y.htm|a/2.htm -> a/y.htm|a/3.htm -> b/|a/3.htm -> b/x.htm|a/3.htm -> b/"
              "|b/1.htm -> b/x.htm|b/y.htm -> b/x.htm|c/1.htm -> c/x.htm|c/2.htm -> c/gone.htm|c/2.htm -> c/gone.htm");

    // A check that follows a change on the disk sees the change.
    site.file(QStringLiteral("a/y.htm"));
    site.file(QStringLiteral("b/x.htm"));
    EXPECT_EQ(CheckSite(site, setup).links, "a/3.htm -> b/|a/3.htm -> b/|c/1.htm -> c/x.htm|c/2.htm -> c/gone.htm"
                                            "|c/2.htm -> c/gone.htm");
}

TEST(BrowserLinks, APageReadAfterAnotherKeepsNothingOfItsLinks)
{
    // One thread reads every page, into the room the pages before it left:
    // a long page, a short one, and one longer than both.
    CheckSetup setup = BrowserSetup();
    setup.jobs = 1;
    TempTree site;
    auto page = [](const char *name, int links) {
        QByteArray text;
        for (int i = 0; i < links; ++i)
            text += "<a href=\"" + QByteArray(name) + "&amp;" + QByteArray::number(i) + ".htm\">\r\n";
        return text;
    };
    site.file(QStringLiteral("1.htm"), page("gone-from-the-first-page", 300));
    site.file(QStringLiteral("2.htm"), page("b", 1));
    site.file(QStringLiteral("3.htm"), page("missing-from-the-third-page-of-the-site", 2000));
    const CheckOutcome outcome = CheckSite(site, setup);
    ASSERT_EQ(outcome.state.lngNumBrokenLinks, 2301);
    EXPECT_EQ(outcome.state.brokenLinks[300].link, QStringLiteral("gone-from-the-first-page&299.htm"));
    EXPECT_EQ(outcome.state.brokenLinks[301].link, QStringLiteral("b&0.htm"));
    EXPECT_EQ(outcome.state.brokenLinks[301].line, 1);
    EXPECT_EQ(outcome.state.brokenLinks[302].link, QStringLiteral("missing-from-the-third-page-of-the-site&0.htm"));
    EXPECT_EQ(outcome.state.brokenLinks[2301].link,
              QStringLiteral("missing-from-the-third-page-of-the-site&1999.htm"));
    EXPECT_EQ(outcome.state.brokenLinks[2301].line, 2000);
}

TEST(BrowserLinks, ATextKnownFromAPageInOneEncodingIsReadAgainInAnother)
{
    // One thread reads the folder's pages in turn: links of a UTF-8 page are
    // known by their bytes as written, those of other pages by their text.
    // "-N" in UTF-8 has the bytes of U+4E2D in UTF-16; "\xFC" in
    // windows-1252 is the "ü" UTF-8 writes in two bytes. "&#35;" is a "#"
    // (the fragment's), "&#36;" a "$" (the name's).
    TempTree site;
    site.file(QStringLiteral("-N"));
    site.file(QStringLiteral("1.htm"), Lines({"<a href=\"-N\">", "<a href=\"\xC3\xBC.htm\">",
                                              "<a href=\"a&amp;b.htm\">", "<a href=\"-N&#35;x\">",
                                              "<a href=\"-N&#36;y\">"}));
    QByteArray utf16("\xFF\xFE");
    for (const QChar c : QStringLiteral("<a href=\"\u4E2D\"><a href=\"-N\">"))
        utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
    site.file(QStringLiteral("2.htm"), utf16);
    site.file(QStringLiteral("3.htm"), Lines({"<meta charset=windows-1252>", "<a href=\"\xFC.htm\">",
                                              "<a href=\"a&amp;b.htm\">", "<a href=\"-N\">"}));
    CheckSetup setup = BrowserSetup();
    setup.jobs = 1;
    const CheckOutcome outcome = CheckSite(site, setup);
    EXPECT_EQ(outcome.links, "1.htm -> \u00FC.htm|1.htm -> a&b.htm|1.htm -> -N$y|2.htm -> \u4E2D"
                             "|3.htm -> \u00FC.htm|3.htm -> a&b.htm");
    QStringList recorded;
    for (qint32 i = 1; i <= outcome.state.lngNumBrokenLinks; ++i)
        recorded << outcome.state.brokenLinks[i].link;
    EXPECT_EQ(recorded.join(u'|'), QStringLiteral("\u00FC.htm|a&b.htm|-N$y|\u4E2D|\u00FC.htm|a&b.htm"));
}

TEST(BrowserLinks, LinksThatDifferAfterTheHashShareWhatTheirPathCameTo)
{
    // One thread, so what the first texts came to is at hand for the later
    // ones, on the same page and the next.
    TempTree site;
    site.file(QStringLiteral("a.htm"), Lines({"<p id=\"one\">"}));
    site.file(QStringLiteral("c.htm"));
    // A space or control before the "#" stays in the link's path; a tab or
    // line break goes from anywhere.
    site.file(QStringLiteral("index.htm"),
              PageLinkingTo({"a.htm#one", "a.htm#two", "a.htm", "b.htm#one", "b.htm", "c.htm#one",
                             "c.htm #one", "c.htm\t#two", "c.htm\x01#two", "#top", "", "c.htm #"}));
    site.file(QStringLiteral("page2.htm"), PageLinkingTo({"c.htm #x", "c.htm ", "c.htm#x", "b.htm#two"}));
    CheckSetup setup = BrowserSetup();
    setup.jobs = 1;
    const CheckOutcome outcome = CheckSite(site, setup);
    EXPECT_EQ(outcome.links,
              "index.htm -> b.htm|index.htm -> b.htm|index.htm -> c.htm |index.htm -> c.htm\u0001"
              "|index.htm -> c.htm |page2.htm -> c.htm |page2.htm -> b.htm");
    // Each record keeps its own link's text, fragment and all, though the
    // texts share their target.
    QStringList recorded;
    for (qint32 i = 1; i <= outcome.state.lngNumBrokenLinks; ++i)
        recorded << outcome.state.brokenLinks[i].link;
    EXPECT_EQ(recorded.join(u'|'),
              QStringLiteral("b.htm#one|b.htm|c.htm #one|c.htm\u0001#two|c.htm #|c.htm #x|b.htm#two"));

    // An exclusion is matched on the whole link, fragment and all.
    setup.excludedLinks = QStringLiteral("one");
    EXPECT_EQ(CheckSite(site, setup).links,
              "index.htm -> b.htm|index.htm -> c.htm\u0001|index.htm -> c.htm |page2.htm -> c.htm "
              "|page2.htm -> b.htm");

    // Anchors are checked for each fragment (c.htm has none).
    CheckSetup anchors = BrowserSetup(true);
    anchors.jobs = 1;
    EXPECT_EQ(CheckSite(site, anchors).links,
              "index.htm -> a.htm#two|index.htm -> b.htm|index.htm -> b.htm|index.htm -> c.htm#one"
              "|index.htm -> c.htm |index.htm -> c.htm#two|index.htm -> c.htm\u0001|index.htm -> c.htm "
              "|page2.htm -> c.htm |page2.htm -> c.htm#x|page2.htm -> b.htm");
}

TEST(BrowserLinks, ServerIncludesIgnoreTheBase)
{
    TempTree site;
    site.file(QStringLiteral("inc/head.htm"));
    site.file(QStringLiteral("inc/index.htm"));
    site.file(QStringLiteral("sub/part.htm"));
    site.file(QStringLiteral("sub/page.shtml"),
              Lines({"<base href=\"/inc/\">", "<!--#include virtual=\"/inc/head.htm\" -->",
                     "<!--#include virtual=\"part.htm\" -->", "<!--#include file=\"part.htm\" -->",
                     "<!--#include virtual=\"head.htm\" -->", "<!--#include file=\"/part.htm\" -->",
                     "<!--#include virtual=\"/gone.htm\" -->"}));
    EXPECT_EQ(CheckSite(site, BrowserSetup()).targets, "sub/head.htm|gone.htm");
}

TEST(BrowserAnchors, AFragmentMustNameAnElementOfItsTargetPage)
{
    TempTree site;
    site.file(QStringLiteral("guide/index.htm"), Lines({"<h1 id=\"intro\">", "<a name=\"old\">"}));
    site.file(QStringLiteral("caf\u00e9.htm"), Lines({"<p id=\"caf\u00e9\">", "<p id=\"a%20b\">"}));
    site.file(QStringLiteral("pic.gif"));
    site.file(QStringLiteral("excluded.htm"), Lines({"<p id=\"here\">"}));
    site.file(QStringLiteral("index.htm"),
              Lines({"<p id=\"self\">", "<a href=\"#self\">", "<a href=\"#nope\">", "<a href=\"#\">",
                     "<a href=\"#TOP\">", "<a href=\"guide/#intro\">", "<a href=\"guide#old\">",
                     "<a href=\"guide/index.htm#gone\">", "<a href=\"caf%C3%A9.htm#caf%C3%A9\">",
                     "<a href=\"caf%C3%A9.htm#a%20b\">", "<a href=\"pic.gif#x\">",
                     "<a href=\"excluded.htm#here\">", "<a href=\"excluded.htm#there\">",
                     "<a href=\"index.htm?q=1#self\">"}));
    // The filepath exclusions leave pages unread, not unlinked.
    CheckSetup setup = BrowserSetup(true);
    setup.excludedFilepaths = QStringLiteral("excluded");
    const CheckOutcome outcome = CheckSite(site, setup);
    EXPECT_EQ(outcome.links, "index.htm -> index.htm#nope|index.htm -> guide/index.htm#gone"
                             "|index.htm -> excluded.htm#there");
    EXPECT_EQ(outcome.state.brokenLinks[1].line, 3);

    // Without anchors only the files count.
    EXPECT_EQ(CheckSite(site, BrowserSetup(false)).targets, "");
}

TEST(BrowserAnchors, PagesCheckedSideBySideShareTheTargetsAnchors)
{
    // Several threads read pages that link to the same targets: each
    // target's anchors are read once and handed to all of them.
    TempTree site;
    HtmlPage html;
    for (int i = 0; i < 20; ++i) {
        const QString name = QStringLiteral("t%1.htm").arg(i);
        site.file(name, Lines({"<p id=\"a\">"}));
        html.links.push_back(HtmlLink{HtmlLinkKind::Link, i + 1, name + QStringLiteral("#a")});
        html.links.push_back(HtmlLink{HtmlLinkKind::Link, i + 1, name + QStringLiteral("#b")});
    }
    ScanState state;
    ScanOptions options;
    options.topFolder = site.root();
    options.readAsBrowser = true;
    options.checkAnchors = true;
    const BrowserLinkChecker checker(state, options);
    std::vector<std::vector<BrokenLink>> found(4);
    std::vector<std::thread> threads;
    for (size_t t = 0; t < found.size(); ++t) {
        threads.emplace_back([&, t] {
            const PageToRead page{site.path(QStringLiteral("p%1.htm").arg(t)), {QString(), site.root()}, nullptr, {}};
            checker.CheckLinks(page, html, found[t]);
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (const std::vector<BrokenLink> &links : found) {
        ASSERT_EQ(links.size(), 20u);
        EXPECT_EQ(links[19].strLinkTo, site.path(QStringLiteral("t19.htm#b")));
        EXPECT_EQ(links[19].line, 20);
    }
}

TEST(ClassicLinks, SchemesQueriesAndSpacesAroundTheLinkAreMended)
{
    // Letters, digits, "+", "-" and "." before a colon make a scheme; one
    // letter is a drive.
    EXPECT_EQ(TargetsOfLinks({"tel:+15550100", "data:x.gif", "about:blank", "ftp:x.pdf", "sms:1",
                              "mw-data:x", "svn+ssh:x", "c:/x.gif", "1a:x.gif", "?page=2", "?x.gif",
                              " gone.gif ", "\tpic.gif\x01"}),
              "c:/x.gif|1a:x.gif|gone.gif|pic.gif");
}

} // namespace quillan::test
