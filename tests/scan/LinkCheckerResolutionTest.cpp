// Which links are checked, where they point on disk, and what is recorded.

#include "LinkCheckerSite.h"

#include "engine/Unprivileged.h"

#include <QFile>

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace quillan::test {

using namespace std::string_literals;

TEST(LinkExclusions, IgnoreLetterCaseAndTestTheLinkAsWritten)
{
    CheckSetup setup;
    setup.excludedLinks = QStringLiteral("Old, ÉTÉ, %20");
    EXPECT_EQ(TargetsOfLinks({"old/a.htm", "OLD/b.htm", "été/c.htm", "my%20page.htm", "new/d.htm"},
                             setup),
              "new/d.htm");
    // An empty entry lies in every link.
    setup.excludedLinks = QStringLiteral("zzz,,yyy");
    EXPECT_EQ(TargetsOfLinks({"a.htm", "b/c.gif"}, setup), "");
}

TEST(LinkTypes, OnlyTypesInTheListAndPhpWhenTickedAreChecked)
{
    // "ml" lies inside "html" of the list; a query string leaves no known type.
    EXPECT_EQ(TargetsOfLinks({"script.js", "page.asp", "picture.gif", "paper.PDF", "contact",
                              "page.htm?id=3", "part.ml", "code.php"}),
              "picture.gif|paper.PDF|contact|part.ml");
    for (int value : {0, 1, 2}) {
        CheckSetup setup;
        setup.includePhpFiles = value;
        EXPECT_EQ(TargetsOfLinks({"code.php"}, setup), value == 1 ? "code.php" : "") << value;
    }
    // Each check answers by its own list, though a thread that reads pages
    // remembers the types it met from one check to the next.
    for (const QStringView types : {u"gif", u"htm", u"gif"}) {
        CheckSetup setup;
        setup.jobs = 1;
        setup.checkableFileTypes = types.toString();
        EXPECT_EQ(TargetsOfLinks({"a.gif", "b.htm"}, setup), types == u"gif" ? "a.gif" : "b.htm");
    }
    // With no types listed, not even a link without an extension is checked.
    CheckSetup none;
    none.checkableFileTypes.clear();
    EXPECT_EQ(TargetsOfLinks({"contact", "a.htm"}, none), "");
}

TEST(LinkTypes, TheTypeIsReadFromTheLinkAsWrittenCutAtABackslashOnly)
{
    // Its "/" are not separators yet: "../" has the extension "/" and
    // "v1.2/notes" the extension "2/notes", neither of them a file type.
    TempTree site;
    site.file(QStringLiteral("d/page.htm"),
              PageLinkingTo({"../", "./", "../about/", "v1.2/notes", "img.d/logo", "page.htm?dir=a/b",
                             "index.php?page=docs/intro", "about/", "contact", "docs/page.htm",
                             "../img/a.gif", "v1.2\\notes"}));
    EXPECT_EQ(CheckSite(site).targets, "d/about/|d/contact|d/docs/page.htm|img/a.gif|d/v1.2\\notes");
}

TEST(LinkTargets, OnlyAMissingRegularFileUnderItsDecodedNameIsBroken)
{
    TempTree site;
    site.folder(QStringLiteral("sub"));
    for (const char *name : {"present.htm", "my page.htm", "café.htm"})
        site.file(QString::fromUtf8(name));
    site.symlink(QStringLiteral("alias.htm"), site.path(QStringLiteral("present.htm")));
    // The page is read in the locale's encoding (UTF-8 here).
    site.file(QStringLiteral("index.htm"),
              PageLinkingTo({"sub/", "sub", "present.htm#part", "alias.htm", "my%20page.htm",
                             "café.htm", "naïve.htm"}));
    EXPECT_EQ(CheckSite(site).targets, "sub/|sub|naïve.htm");
}

TEST(LinkTargets, DotSegmentsResolveByTheTextAndANulCutsNoName)
{
    TempTree site;
    site.file(QStringLiteral("x.gif"));
    site.file(QStringLiteral("sub/y.gif"));
    QByteArray page = PageLinkingTo({"nosuch/../x.gif", "sub/./y.gif", "nosuch/../sub/y.gif",
                                     "nosuch/../gone.gif"});
    page += QByteArray::fromStdString("<a href=\"x.gif\0y.gif\">\r\n"s);
    site.file(QStringLiteral("index.htm"), page);
    EXPECT_EQ(CheckSite(site).targets, "nosuch/../gone.gif|x.gif\0y.gif"s);
}

TEST(LinkTargets, NamesTheLocaleCannotDecodeAreReadAndFoundByTheirBytes)
{
    TempTree site;
    // A Latin-1 page and folder on a UTF-8 system; the page names the
    // folder in its own bytes.
    site.byteNamedFile("men\xFC.htm", "<a href=\"caf\xE9/present.htm\">\r\n<a href=\"caf\xE9/absent.htm\">");
    site.byteNamedFile("caf\xE9/present.htm");
    site.byteNamedFile("caf\xE9/index.htm", PageLinkingTo({"present.htm", "gone.htm", "../men\xFC.htm"}));
    EXPECT_EQ(CheckSite(site).links, "men\uFFFD.htm -> caf\uFFFD/absent.htm"
                                     "|caf\uFFFD/index.htm -> caf\uFFFD/gone.htm");
}

TEST(LinkDecoding, EachEscapeOfTheTableAndNoOther)
{
    const std::pair<const char *, const char *> rows[] = {
        {"a&amp;b.htm", "a&b.htm"}, {"my%20page.htm", "my page.htm"}, {"%27q%27.htm", "'q'.htm"},
        {"%28p%29.htm", "(p).htm"}, {"fa%C3%A7ade.htm", "façade.htm"}, {"d%C3%ADa.htm", "día.htm"},
        {"ma%C3%B1ana.htm", "mañana.htm"}, {"adi%C3%B3s.htm", "adiós.htm"},
        {"a%E2%80%93b.htm", "a\u2013b.htm"},
        // Other codes, codes in small letters and a second round stay as written.
        {"a%2Fb.htm", "a%2Fb.htm"}, {"fa%c3%a7ade.htm", "fa%c3%a7ade.htm"},
        {"x&amp;amp;y.htm", "x&amp;y.htm"},
    };
    for (const auto &[link, decoded] : rows)
        EXPECT_EQ(TargetsOfLinks({link}), decoded) << link;
}

TEST(LinkClimbing, ClimbsWithinTheSiteButNeverAboveIt)
{
    TempTree site;
    site.file(QStringLiteral("x.htm"));
    site.file(QStringLiteral("index.htm"), PageLinkingTo({"../outside.htm"}));
    site.file(QStringLiteral("a/b/page.htm"),
              PageLinkingTo({"../../x.htm", "../../gone.htm", "../c/z.htm", "../../../above.htm",
                             "near.htm"}));
    EXPECT_EQ(CheckSite(site).links, "a/b/page.htm -> gone.htm|a/b/page.htm -> a/c/z.htm"
                                     "|a/b/page.htm -> a/b/near.htm");
}

TEST(LinkTargets, TheSameTextLeadsWhereEachPagesFolderSays)
{
    // One thread reads every page, remembering what the texts came to in
    // the folder at hand: the same text from another folder goes where that
    // folder says.
    CheckSetup setup;
    setup.jobs = 1;
    TempTree site;
    site.file(QStringLiteral("a/x.htm"));
    site.file(QStringLiteral("a/1.htm"), PageLinkingTo({"x.htm", "../x.htm", "y.htm"}));
    site.file(QStringLiteral("a/2.htm"), PageLinkingTo({"x.htm", "../x.htm", "y.htm", "y.htm"}));
    site.file(QStringLiteral("a/b/1.htm"), PageLinkingTo({"x.htm", "../x.htm", "y.htm"}));
    site.file(QStringLiteral("a/c.htm"), PageLinkingTo({"x.htm", "y.htm"}));
    EXPECT_EQ(CheckSite(site, setup).links,
              "a/1.htm -> x.htm|a/1.htm -> a/y.htm|a/2.htm -> x.htm|a/2.htm -> a/y.htm|a/2.htm -> a/y.htm"
              "|a/c.htm -> a/y.htm|a/b/1.htm -> a/b/x.htm|a/b/1.htm -> a/b/y.htm");

    // A check that follows a change on the disk sees the change.
    site.file(QStringLiteral("a/y.htm"));
    EXPECT_EQ(CheckSite(site, setup).links,
              "a/1.htm -> x.htm|a/2.htm -> x.htm|a/b/1.htm -> a/b/x.htm|a/b/1.htm -> a/b/y.htm");
}

TEST(LinkRecording, EachLinkKeepsItsTextWhenItsRememberedAnswerMakesRoomForAnother)
{
    // More distinct texts in one folder than a thread remembers: each takes
    // over the place of another, and every link recorded keeps its own text
    // and target. Some of the texts lead nowhere checked, some name files
    // that are there.
    CheckSetup setup;
    setup.jobs = 1;
    TempTree site;
    site.file(QStringLiteral("there.htm"));
    QByteArray page;
    std::string expected;
    QStringList texts;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 1500; ++i) {
            const QByteArray name = "gone-" + QByteArray::number(i) + (i % 2 == 0 ? ".htm" : "-caf\xc3\xa9.htm");
            page += "<a href=\"" + name + "\">\n<a href=\"there.htm\">\n<a href=\"mailto:x" + QByteArray::number(i) + "\">\n";
            if (!expected.empty())
                expected += '|';
            expected += "a.htm -> " + name.toStdString();
            texts.append(QString::fromUtf8(name));
        }
    }
    site.file(QStringLiteral("a.htm"), page);
    const CheckOutcome outcome = CheckSite(site, setup);
    EXPECT_EQ(outcome.links, expected);
    QStringList recorded;
    for (qint32 i = 1; i <= outcome.state.lngNumBrokenLinks; ++i)
        recorded.append(outcome.state.brokenLinks[i].link);
    EXPECT_EQ(recorded, texts);
}

TEST(LinkRecording, EveryOccurrenceInFoundOrderWithFullPathsUpToTheLimit)
{
    TempTree site;
    site.file(QStringLiteral("a.htm"), PageLinkingTo({"x.gif", "x.gif"}));
    site.file(QStringLiteral("z.htm"), PageLinkingTo({"y.gif", "w.gif"}));
    site.file(QStringLiteral("b/c.htm"), PageLinkingTo({"../x.gif"}));
    CheckOutcome outcome = CheckSite(site);
    ASSERT_EQ(outcome.links, "a.htm -> x.gif|a.htm -> x.gif|z.htm -> y.gif|z.htm -> w.gif"
                             "|b/c.htm -> x.gif");
    EXPECT_EQ(outcome.state.brokenLinks[5].strLinkFrom, site.path(QStringLiteral("b/c.htm")));
    EXPECT_EQ(outcome.state.brokenLinks[5].strLinkTo, site.path(QStringLiteral("x.gif")));
    EXPECT_FALSE(outcome.state.blnMaxNumLinksReached);

    // The limit stops both the page being read and the walk.
    CheckSetup setup;
    setup.maxNumLinks = 3;
    outcome = CheckSite(site, setup);
    EXPECT_EQ(outcome.targets, "x.gif|x.gif|y.gif");
    EXPECT_TRUE(outcome.state.blnMaxNumLinksReached);
}

TEST(LinkRecording, AnUnreadablePageIsSkippedAndTheWalkGoesOn)
{
    TempTree site;
    site.file(QStringLiteral("a.htm"), PageLinkingTo({"from-a.htm"}));
    site.file(QStringLiteral("b.htm"), PageLinkingTo({"from-b.htm"}));
    ASSERT_TRUE(QFile::setPermissions(site.path(QStringLiteral("a.htm")), QFileDevice::Permissions()));
    EXPECT_EQ(RunAsUnprivileged([&site] { return CheckSite(site).targets; }), "from-b.htm");
}

} // namespace quillan::test
