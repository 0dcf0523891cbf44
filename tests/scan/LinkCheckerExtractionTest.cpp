// Which link a line gives, if any.

#include "LinkCheckerSite.h"

#include <gtest/gtest.h>

namespace quillan::test {

TEST(LinkExtraction, TakesTheFirstHrefOfALineBeforeAnySrc)
{
    const QStringList targets = TargetsOfLines({
        QStringLiteral(R"(<img src="a.gif"> <a href="b.htm">b</a>)"),
        QStringLiteral(R"(<a href="c.htm">c</a> <a href="d.htm">d</a>)"),
        QStringLiteral(R"(<img src="e.gif"> <img src="f.gif">)"),
    });
    EXPECT_EQ(targets, (QStringList{QStringLiteral("b.htm"), QStringLiteral("c.htm"),
                                    QStringLiteral("e.gif")}));
}

TEST(LinkExtraction, FindsKeysInCapitalsAndKeepsTheLinksLetterCase)
{
    const QStringList targets = TargetsOfLines({
        QStringLiteral(R"(<A HREF="Docs/Page.HTM">)"),
        QStringLiteral(R"(<IMG SRC="Pic.GIF">)"),
    });
    EXPECT_EQ(targets, (QStringList{QStringLiteral("Docs/Page.HTM"), QStringLiteral("Pic.GIF")}));
}

TEST(LinkExtraction, NeedsASpaceTheKeyAndADoubleQuotedValue)
{
    const QStringList targets = TargetsOfLines({
        QStringLiteral("<a href='single.htm'>"),
        QStringLiteral("<a href=bare.htm>"),
        QStringLiteral(R"(<a href = "spaced.htm">)"),
        QStringLiteral(R"(    href="line-start.htm">)"),
        QStringLiteral("<a\thref=\"tab.htm\">"),
        QStringLiteral(R"(<img data-src="data.gif">)"),
        QStringLiteral(R"(<a href="unclosed.htm)"),
        QStringLiteral(R"(continued">)"),
    });
    EXPECT_TRUE(targets.isEmpty()) << targets.join(u',').toStdString();
}

TEST(LinkExtraction, CutsCommentsOnTheirOwnLineOnly)
{
    const QStringList targets = TargetsOfLines({
        QStringLiteral(R"(<!-- old --> <a href="hidden.htm">)"),
        QStringLiteral(R"(--> <a href="after-end.htm">)"),
        QStringLiteral(R"(<a href="before-start.htm"> <!-- note -->)"),
        QStringLiteral("<!--"),
        QStringLiteral(R"(<a href="inside-comment.htm">)"),
        QStringLiteral("-->"),
    });
    EXPECT_EQ(targets, (QStringList{QStringLiteral("after-end.htm"),
                                    QStringLiteral("before-start.htm"),
                                    QStringLiteral("inside-comment.htm")}));
}

TEST(LinkExtraction, DropsFragmentsAndSkipsEmptyLinks)
{
    TempTree site;
    site.file(QStringLiteral("here.htm"));
    site.file(QStringLiteral("index.htm"), Page({
                                               QStringLiteral(R"(<a href="#">)"),
                                               QStringLiteral(R"(<a href="#top">)"),
                                               QStringLiteral(R"(<a href="">)"),
                                               QStringLiteral(R"(<a href="here.htm#part">)"),
                                               QStringLiteral(R"(<a href="gone.htm#part">)"),
                                           }));
    EXPECT_EQ(Targets(CheckSite(site)), QStringList{QStringLiteral("gone.htm")});
}

TEST(LinkExtraction, SkipsRootLinksOtherSitesMailAndScriptsInAnyCase)
{
    const QStringList targets = TargetsOfLines({
        QStringLiteral(R"(<a href="/root.htm">)"),
        QStringLiteral(R"(<a href="http://example.invalid/a.htm">)"),
        QStringLiteral(R"(<a href="FILE://x/b.htm">)"),
        QStringLiteral(R"(<a href="MailTo:someone.htm">)"),
        QStringLiteral(R"x(<a href="JavaScript:open('c.htm')">)x"),
        QStringLiteral(R"(<a href="local.htm">)"),
    });
    EXPECT_EQ(targets, QStringList{QStringLiteral("local.htm")});
}

TEST(LinkExtraction, ReadsLinesEndedByLfCrOrCrLfAlike)
{
    const QStringList lines{
        QStringLiteral(R"(<a href="one.htm">)"),
        QString(),
        QStringLiteral(R"(  <img src="two.gif">)"),
        QStringLiteral(R"(<a href="three.htm">)"),
    };
    for (const QByteArray &lineEnd : {QByteArray("\n"), QByteArray("\r"), QByteArray("\r\n")}) {
        TempTree site;
        site.file(QStringLiteral("index.htm"), Page(lines, lineEnd));
        EXPECT_EQ(Targets(CheckSite(site)),
                  (QStringList{QStringLiteral("one.htm"), QStringLiteral("two.gif"),
                               QStringLiteral("three.htm")}))
            << "line end of " << lineEnd.size() << " characters, starting with "
            << int(lineEnd[0]);
    }
}

TEST(LinkExtraction, FindsALinkFarIntoALongLine)
{
    const QString padding(70000, u'x');
    const QStringList targets = TargetsOfLines({padding + QStringLiteral(R"( href="far.htm")")});
    EXPECT_EQ(targets, QStringList{QStringLiteral("far.htm")});
}

TEST(LinkExtraction, ReadsThePageInTheLocaleEncoding)
{
    TempTree site;
    site.file(QStringLiteral("caf\u00e9.htm"));
    site.file(QStringLiteral("index.htm"), Page({
                                               QStringLiteral(R"(<a href="caf)") + QChar(0xe9)
                                                   + QStringLiteral(R"(.htm">)"),
                                               QStringLiteral(R"(<a href="na)") + QChar(0xef)
                                                   + QStringLiteral(R"(ve.htm">)"),
                                           }));
    EXPECT_EQ(Targets(CheckSite(site)), QStringList{QStringLiteral("na\u00efve.htm")});
}

} // namespace quillan::test
