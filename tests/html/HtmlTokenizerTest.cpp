#include "HtmlReading.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(HtmlAttributes, EveryQuotingAndCaseAsABrowserReadsIt)
{
    EXPECT_EQ(ValuesOf(S("<a href=\"d.htm\"><A HREF='s.htm'><a href=u.htm><a\thref = \"sp.htm\" >")),
              Values({"d.htm", "s.htm", "u.htm", "sp.htm"}));
    // An unquoted value runs to a space or ">": a trailing "/" is its own.
    EXPECT_EQ(ValuesOf(S("<a href=x/><a href=y.htm/ ><img src=z.png/>")), Values({"x/", "y.htm/", "z.png/"}));
    // Quotes hold ">" and the other quote; the value is not trimmed.
    EXPECT_EQ(ValuesOf(S("<a title='a>b' href=\" it's.htm \">")), Values({" it's.htm "}));
    // "=" with no value gives an empty value; a name alone, too.
    EXPECT_EQ(ValuesOf(S("<a href=><a href>")), Values({"", ""}));
    // The first of a repeated attribute wins, whatever its letter case.
    EXPECT_EQ(ValuesOf(S("<a href=first.htm HREF=second.htm>")), Values({"first.htm"}));
    // Attributes with no space between them, and the name that begins with "=".
    EXPECT_EQ(ValuesOf(S("<img alt=\"x\"src=\"p.png\"><a =href=no.htm href=yes.htm>")), Values({"p.png", "yes.htm"}));
    // A tag the page ends inside is dropped, as a browser drops it.
    EXPECT_EQ(ValuesOf(S("<a href=a.htm><a href=\"b.htm")), Values({"a.htm"}));
    EXPECT_EQ(ValuesOf(S("<a href=a.htm><a href=b.htm")), Values({"a.htm"}));
    // A tag name runs to a space, "/" or ">": "<a<b" is not an a element.
    EXPECT_EQ(ValuesOf(S("<a<b href=x.htm><a/href=y.htm>")), Values({"y.htm"}));
}

TEST(HtmlAttributes, EachElementGivesItsResourceAttributesOnly)
{
    const QString page = S(
        "<a href=1><area href=2><base href=3><link rel=stylesheet href=4><link rev=made href=no>"
        "<img src=5 longdesc=6><script src=7></script><iframe src=8 longdesc=9></iframe><frame src=10 longdesc=11>"
        "<embed src=12><audio src=13><video src=14 poster=15><source src=16><track src=17><input type=image src=18>"
        "<object data=19><blockquote cite=20><q cite=21><del cite=22><ins cite=23>"
        "<body background=24><table background=25><td background=26><th background=27>"
        "<form action=no><button formaction=no><div src=no href=no><span background=no><img href=no data=no>"
        "<image src=28>");
    QStringList expected;
    for (int i = 1; i <= 28; ++i)
        expected.append(i == 3 ? QStringLiteral("base 1:3") : QStringLiteral("1:%1").arg(i));
    EXPECT_EQ(LinksOf(page), expected);
}

TEST(HtmlAttributes, NamesOfOneLengthAndFirstLetterAreToldApartInEitherCase)
{
    // A page's element names are looked up once each and kept; these pairs
    // share a place where they are kept.
    EXPECT_EQ(ValuesOf(S("<abbr href=no><area href=a1><abbr href=no><AREA href=a2><Abbr href=no><area href=a3>"
                         "<ins src=no cite=i1><img src=i2 cite=no><INS cite=i3><IMG src=i4><ins src=no>"
                         "<del cite=d1><dey cite=no><del cite=d2><deL cite=d3>")),
              Values({"a1", "a2", "a3", "i1", "i2", "i3", "i4", "d1", "d2", "d3"}));
}

TEST(HtmlAttributes, LinksKeepTheirOrderWithinATag)
{
    EXPECT_EQ(ValuesOf(S("<img srcset=\"a.png 2x\" src=b.png longdesc=c.htm><link href=s.css rel=x>")),
              Values({"a.png", "b.png", "c.htm", "s.css"}));
}

TEST(HtmlLines, CountEveryKindOfLineEndAndStartWhereTheValueStarts)
{
    EXPECT_EQ(LinksOf(S("<a href=a>\r\n<a href=b>\r<a href=c>\n<a href=d>\n\r<a href=e>")),
              Values({"1:a", "2:b", "3:c", "4:d", "6:e"}));
    // A tag, and a value, across lines: the value's first character counts.
    EXPECT_EQ(LinksOf(S("<a\r\n  href\r\n=\r\n\"x\r\ny.htm\">")), Values({"4:x\ny.htm"}));
    EXPECT_EQ(LinksOf(S("<a href=\"\nz.htm\">")), Values({"1:\nz.htm"}));
    // Many links on one line, the classic reading's blind spot.
    EXPECT_EQ(LinksOf(S("<p>\n<a href=1><a href=2><img src=3>")), Values({"2:1", "2:2", "2:3"}));
}

TEST(HtmlLines, LinesLeftToCountAfterwardsComeOutTheSame)
{
    // Every kind of link in turn, lines ended every way; LinksOf reads each
    // page both ways and compares them.
    EXPECT_EQ(LinksOf(S("<a href=a>\r\n<!--#include file=\"i\r\nj\" -->\r<img srcset=\"s 1x,\n t 2x\" src=\"u\">"
                        "\n<meta http-equiv=refresh content=\"0;\r\nurl=r\"><a\nhref=\"&amp;z\">\n")),
              Values({"1:a", "file 2:i\r\nj", "4:s", "5:t", "5:u", "7:r", "8:&z"}));
}

TEST(HtmlLines, PagesReadInTheirUtf8BytesGiveTheSameLinks)
{
    // LinksOf reads each page from its UTF-8 too: values of every length
    // with characters beyond ASCII anywhere, a byte-order mark inside a value
    // (a character there, not a mark), and includes after such characters.
    EXPECT_EQ(LinksOf(S("<p>é\n<a href=\"ü.htm\"><a href=\"0123456789abcdef€0123456789abcdef/𝄞.htm\">"
                        "<a href='x\xEF\xBB\xBF<a'>\n<!--#include virtual=\"日日日日\"\nfile=\"x.htm\" -->"
                        "<a href=\"&eacute;\">")),
              Values({"2:ü.htm", "2:0123456789abcdef€0123456789abcdef/𝄞.htm", "2:x\uFEFF<a", "virtual 3:日日日日",
                      "file 4:x.htm", "4:é"}));
    // Values of every length up to two registers, ASCII or ending in "é",
    // followed by characters beyond ASCII and by less and less of the page;
    // and values that decoding changes, with "&", CR or NUL at their end.
    for (int length = 1; length <= 34; ++length) {
        for (const QString &last : {S("z"), S("é"), S("&amp;"), S("\r"), QString(QChar(u'\0'))}) {
            const QString value = QString(length - 1, u'v') + last;
            for (int after = 0; after <= 20; ++after) {
                const QString page = S("<a href=\"") + value + S("\">") + QString(after, u'ß');
                const QStringList values = ValuesOf(page); // the same from the bytes and from the text
                if (last.size() == 1 && last[0] > u'\r') {
                    EXPECT_EQ(values, QStringList{value}) << length << " " << after;
                }
            }
        }
    }
}

TEST(HtmlLines, LineEndsOnLongPagesCountOnceWhereverTheyFall)
{
    // Lines are counted in blocks of text: a CR LF, a lone CR or an LF CR
    // at any place around a block's end counts as on a short page.
    const QString head = S("<a href=a>");
    for (const char *ends : {"\r\n", "\r", "\n\r"}) {
        const QString lineEnds = S(ends);
        const int expected = lineEnds == u"\n\r" ? 3 : 2;
        for (qsizetype pad = 32760; pad < 32772; ++pad) {
            const QString page = head + QString(pad, u' ') + lineEnds + S("<a href=b>");
            const QStringList links = LinksOf(page);
            ASSERT_EQ(links.size(), 2);
            EXPECT_EQ(links[1], QStringLiteral("%1:b").arg(expected)) << ends << pad;
        }
    }
}

TEST(HtmlComments, HideLinksAcrossLinesAndEndWhereABrowserEndsThem)
{
    EXPECT_EQ(LinksOf(S("<!-- <a href=no1>\n<a href=no2> -->\n<a href=yes>")), Values({"3:yes"}));
    // "<!-->" and "<!--->" are whole comments; "--!>" ends one; "--->" too.
    EXPECT_EQ(ValuesOf(S("<!--><a href=1><!---><a href=2><!-- x --!><a href=3><!-- x ---><a href=4>")),
              Values({"1", "2", "3", "4"}));
    // "-- >" and "->" do not end a comment; "<!---->" does.
    EXPECT_EQ(ValuesOf(S("<!-- -- > <a href=no> -> <a href=no> --><!----><a href=yes>")), Values({"yes"}));
    // A comment left open hides the rest of the page.
    EXPECT_EQ(ValuesOf(S("<a href=1><!-- <a href=no>")), Values({"1"}));
    // Bogus comments end at the first ">", quotes or not.
    EXPECT_EQ(ValuesOf(S("<?php echo '<a href=no>' ?><a href=1></ x href=no><a href=2><!x <a href=no><a href=3>")),
              Values({"1", "2", "3"}));
    EXPECT_EQ(ValuesOf(S("<!DOCTYPE html \"<a href=no>\"><a href=1></><a href=2>")), Values({"1", "2"}));
}

TEST(HtmlAttributes, TagSoupReadsTheSameFromItsUtf8BytesAsFromItsText)
{
    // Names and unquoted values of every length, made of the units that
    // end them and of those below ">" in the code that do not (the UTF-8
    // reading looks at those a register at a time, the other one by one).
    static const char16_t kUnits[] = {u'<', u'>', u'/', u'=', u' ', u'\t', u'\n', u'\f', u'\r', u'\x0B', u'\x01',
                                      u'"', u'\'', u'-', u'0', u':', u'!', u'a', u'h', u'r', u'e', u'f', u'\u00e9'};
    static const char *const kPieces[] = {"<a href=", "<img src=", " href=", " title=", "</p ", "<svg>", "<!--", "-->"};
    QRandomGenerator random(11);
    for (int round = 0; round < 2000; ++round) {
        QString page;
        while (page.size() < 120) {
            if (random.bounded(4) == 0) {
                page += QString::fromLatin1(kPieces[random.bounded(int(std::size(kPieces)))]);
                continue;
            }
            for (int run = random.bounded(1, 40); run > 0; --run)
                page += QChar(kUnits[random.bounded(int(std::size(kUnits)))]);
        }
        LinksOf(page);
        if (HasFailure())
            FAIL() << page.toStdString();
    }
}

TEST(HtmlEndTags, EndAtTheirFirstGreaterThanSignOutsideQuotes)
{
    // Followed by enough of a page for every end tag to be read in one step.
    const QString tail = S("<p class=tail>.................................................</p>");
    // A quoted ">" does not end an end tag, whether the quote is near or far.
    EXPECT_EQ(ValuesOf(S("</p title=\"a><a href=no>\"><a href=1></p title='<a href=no>'><a href=2>"
                         "</p                                        title=\"><a href=no>\"><a href=3>")
                       + tail),
              Values({"1", "2", "3"}));
    // A quote in a name, in an unquoted value or after the ">" quotes nothing.
    EXPECT_EQ(ValuesOf(S("</p x\"y=z><a href=4></p a=b'c><a href=5></p>\"<a href=6>\"") + tail),
              Values({"4", "5", "6"}));
    // An end tag longer than a step, and one the page ends inside.
    EXPECT_EQ(ValuesOf(S("</p") + QString(40, u' ') + S("><a href=7>") + tail + S("</p title=\"<a href=no>")),
              Values({"7"}));
}

TEST(HtmlRawText, ElementsWhoseContentIsTextHideTheirLinks)
{
    for (const char *element : {"style", "xmp", "iframe", "noembed", "noframes", "textarea", "title"}) {
        const QString name = S(element);
        const QString page = u'<' + name + QStringLiteral(">\n<a href=no>\n</") + name.toUpper() +
                             QStringLiteral(" >\n<a href=yes>");
        EXPECT_EQ(LinksOf(page), Values({"4:yes"})) << element;
        // Only its own end tag ends it, not one whose name goes on.
        EXPECT_EQ(ValuesOf(u'<' + name + QStringLiteral("></") + name + QStringLiteral("x><a href=no></") + name +
                           QStringLiteral("/><a href=yes>")),
                  Values({"yes"}))
            << element;
    }
    EXPECT_EQ(ValuesOf(S("<plaintext><a href=no></plaintext><a href=no>")), QStringList());
    // noscript is read as markup; an end tag's attributes give nothing.
    EXPECT_EQ(ValuesOf(S("<noscript><a href=yes></noscript></a href=no>")), Values({"yes"}));
    // The end tag's quoted attribute may hold ">".
    EXPECT_EQ(ValuesOf(S("<title>x</title a=\"<a href=no>\"><a href=yes>")), Values({"yes"}));
    // "<title/>" still starts a title.
    EXPECT_EQ(ValuesOf(S("<title/><a href=no></title><a href=yes>")), Values({"yes"}));
}

TEST(HtmlRawText, ScriptEscapesAsABrowserReadsThem)
{
    EXPECT_EQ(ValuesOf(S("<script src=s.js>document.write('<a href=no>')</script ><a href=yes>")),
              Values({"s.js", "yes"}));
    // Inside "<!--" a "<script>" starts a part that "</script>" does not end...
    EXPECT_EQ(ValuesOf(S("<script><!-- <script> </script> <a href=no> --></script><a href=yes>")), Values({"yes"}));
    // ... but without the inner "<script>", "</script>" ends the script.
    EXPECT_EQ(ValuesOf(S("<script><!-- </script><a href=yes> -->")), Values({"yes"}));
    // "-->" ends the escaped part, even "<!-->" at once.
    EXPECT_EQ(ValuesOf(S("<script><!--> <script> </script><a href=yes>")), Values({"yes"}));
    // "</script" followed by a letter, or by nothing, does not end it.
    EXPECT_EQ(ValuesOf(S("<script>a</scripts><a href=no></script")), QStringList());
    EXPECT_EQ(ValuesOf(S("<SCRIPT>if (a<b) x--;</ScRiPt\n><a href=yes>")), Values({"yes"}));
}

TEST(HtmlForeign, SvgLinksAndCdataOnlyInsideSvg)
{
    EXPECT_EQ(ValuesOf(S("<svg><use xlink:href=\"#i\"/><image href=p.png></image><a href=a.svg>x</a></svg>"
                         "<use href=no><image src=img.png>")),
              Values({"#i", "p.png", "a.svg", "img.png"}));
    // CDATA hides markup in svg only; elsewhere it is a bogus comment to ">".
    EXPECT_EQ(ValuesOf(S("<svg><![CDATA[ <a href=no> ]]><a href=1></svg><![CDATA[ a > <a href=2> ]]>")),
              Values({"1", "2"}));
    // Inside svg a style or script is markup, not text.
    EXPECT_EQ(ValuesOf(S("<svg><style><a href=1></a></style></svg><style><a href=no></style>")), Values({"1"}));
    // HTML markup inside svg leaves it: the img is HTML, the use after it too.
    EXPECT_EQ(ValuesOf(S("<svg><img src=i.png><use href=no><image src=hi.png>")), Values({"i.png", "hi.png"}));
    // Nested svg: the first end tag closes only the inner one.
    EXPECT_EQ(ValuesOf(S("<svg><svg></svg><a href=1></svg><a href=2><video poster=3>")), Values({"1", "2", "3"}));
    // foreignObject holds HTML: its title is text, then svg again after it.
    EXPECT_EQ(ValuesOf(S("<svg><foreignObject><title><a href=no></title><video poster=v.png>"
                         "</foreignObject><a href=s.svg></svg>")),
              Values({"v.png", "s.svg"}));
    // A self-closing svg holds nothing.
    EXPECT_EQ(ValuesOf(S("<svg/><use href=no><video poster=1>")), Values({"1"}));
    // MathML: no links of its own, CDATA hides markup, mtext holds HTML.
    EXPECT_EQ(ValuesOf(S("<math><![CDATA[<a href=no>]]><mtext><video poster=1></mtext></math>")), Values({"1"}));
}

TEST(HtmlIncludes, ServerSideIncludesInComments)
{
    EXPECT_EQ(LinksOf(S("<!--#include virtual=\"/inc/head.html\" -->\n<!--#include file='foot.html'-->"
                        "<!-- #include virtual=\"no\" --><!--#INCLUDE  FILE = \"f2.html\" virtual=v2 -->"
                        "<!--#echo var=\"x\" --><!--#include virtual=\"open\"")),
              Values({"virtual 1:/inc/head.html", "file 2:foot.html", "file 2:f2.html", "virtual 2:v2"}));
}

TEST(HtmlMetaRefresh, OnlyTheFirstRefreshOfAPageCounts)
{
    EXPECT_EQ(LinksOf(S("<meta http-equiv=Refresh\ncontent=\"5;\n URL='next.htm'\">"
                        "<meta http-equiv=refresh content=\"0; url=second.htm\">")),
              Values({"3:next.htm"}));
    // A refresh of the page itself still is the page's refresh.
    EXPECT_EQ(ValuesOf(S("<meta http-equiv=refresh content=5><meta http-equiv=refresh content=\"0;url=x\">")),
              QStringList());
    // A content a browser does not read as a refresh leaves the next one in.
    EXPECT_EQ(ValuesOf(S("<meta http-equiv=refresh content=\"x;url=no\"><meta content=\"1,y.htm\" http-equiv=REFRESH>"
                         "<meta name=refresh content=\"0;url=no\">")),
              Values({"y.htm"}));
}

TEST(HtmlAnchors, IdsOfEveryElementAndNamesOfAOnly)
{
    HtmlPage page;
    ReadHtmlLinks(S("<h1 id=top-1><a name=\"n&amp;1\"><div name=no id=\"\"><svg><g id=shape></g></svg>"
                    "<!-- <p id=no> --><textarea><p id=no></textarea><p ID=last id=no2>"),
                  page, true);
    EXPECT_EQ(page.anchors, (QSet<QString>{S("top-1"), S("n&1"), S("shape"), S("last")}));
    HtmlPage without;
    ReadHtmlLinks(S("<a name=x id=y href=z>"), without, false);
    EXPECT_TRUE(without.anchors.isEmpty());
    ASSERT_EQ(without.links.size(), 1U);
}

TEST(HtmlAttributes, ValuesAreDecodedAndSrcsetSplit)
{
    EXPECT_EQ(LinksOf(S("<img srcset=\"a.png 1x,\n b&#46;png 2x, c.png\" src=\"d&amp;e.png\">")),
              Values({"1:a.png", "2:b.png", "2:c.png", "2:d&e.png"}));
    // Query strings keep a name that a reference without ";" begins.
    EXPECT_EQ(ValuesOf(S("<a href=\"?a=1&copy=2&not;&lt\">")), Values({"?a=1&copy=2\u00AC<"}));
    // Line ends inside a value read as LF, NUL as U+FFFD.
    EXPECT_EQ(LinksOf(S("<a href=\"a\r\nb\rc\">")), Values({"1:a\nb\nc"}));
    EXPECT_EQ(ValuesOf(QStringLiteral("<a href=\"x") + QChar(u'\0') + QStringLiteral("y\">")),
              QStringList{QStringLiteral("x\uFFFDy")});
}

// Tags repeated byte for byte are read once and then known by their bytes:
// a repeat must mean what a first reading means wherever it stands. The
// pages run on past each tag, as a page does, for the bytes to be compared.
TEST(HtmlRepeatedTags, ARepeatIsKnownOnlyWhereItReadsTheSame)
{
    const QString tail = S("<p class=tail>.................................................</p>");
    // An element whose content is read apart is read apart each time.
    EXPECT_EQ(ValuesOf(S("<title>t</title><a href=1><title><a href=no></title><a href=2>") + tail),
              Values({"1", "2"}));
    // Each svg start tag opens svg again, where xlink:href names a link.
    EXPECT_EQ(ValuesOf(S("<svg><a xlink:href=s1></a></svg><p><svg><a xlink:href=s2></a></svg><a xlink:href=no>")
                       + tail),
              Values({"s1", "s2"}));
    // Tags with wanted attributes are read each time, and a quoted ">"
    // hides what follows it in every repeat.
    EXPECT_EQ(ValuesOf(S("<img src=a.png><img src=a.png><span title='x><a href=no>'><span title='x><a href=no>'>"
                         "<span class=k><span class=k><a href=yes>")
                       + tail),
              Values({"a.png", "a.png", "yes"}));
    // A tag read where its attributes are not wanted is read again where
    // they are: in svg, and on a page whose anchors are wanted.
    EXPECT_EQ(ValuesOf(S("<g href=g1><g href=g1><svg><g href=g1></svg>") + tail), Values({"g1"}));
    const QByteArray page = (S("<span id=one>1</span><span id=one>2</span>") + tail).toUtf8();
    HtmlPage without;
    ReadHtmlLinks(HtmlText::FromUtf8(page), without, false, HtmlLinksUse::CheckedNow);
    HtmlPage with;
    ReadHtmlLinks(HtmlText::FromUtf8(page), with, true, HtmlLinksUse::CheckedNow);
    EXPECT_TRUE(without.anchors.isEmpty());
    EXPECT_EQ(with.anchors, QSet<QString>{S("one")});
}

} // namespace quillan::test
