// Which links are checked, where they point on disk, and what is recorded.

#include "LinkCheckerSite.h"

#include "engine/Unprivileged.h"
#include "scan/LinkChecker.h"

#include <QFile>

#include <gtest/gtest.h>

namespace quillan::test {

TEST(LinkExclusions, IgnoreLetterCaseAndTestTheLinkAsWritten)
{
    CheckSetup setup;
    setup.excludedLinks = QStringLiteral("Old, \u00c9T\u00c9, %20");
    const QStringList targets = TargetsOfLinks({
        QStringLiteral("old/a.htm"),
        QStringLiteral("OLD/b.htm"),
        QStringLiteral("\u00e9t\u00e9/c.htm"),
        QStringLiteral("my%20page.htm"),
        QStringLiteral("new/d.htm"),
    }, setup);
    EXPECT_EQ(targets, QStringList{QStringLiteral("new/d.htm")});
}

TEST(LinkExclusions, AnEmptyEntryExcludesEveryLink)
{
    CheckSetup setup;
    setup.excludedLinks = QStringLiteral("zzz,,yyy");
    EXPECT_TRUE(TargetsOfLinks({QStringLiteral("a.htm"), QStringLiteral("b/c.gif")}, setup).isEmpty());
}

TEST(LinkTypes, OnlyTypesInTheListAreChecked)
{
    const QStringList targets = TargetsOfLinks({
        QStringLiteral("script.js"),
        QStringLiteral("page.asp"),
        QStringLiteral("picture.gif"),
        QStringLiteral("paper.PDF"),
        QStringLiteral("contact"),
        QStringLiteral("page.htm?id=3"),
        QStringLiteral("part.ml"), // "ml" lies inside "html" of the list
        QStringLiteral("code.php"),
    });
    EXPECT_EQ(targets, (QStringList{QStringLiteral("picture.gif"), QStringLiteral("paper.PDF"),
                                    QStringLiteral("contact"), QStringLiteral("part.ml")}));
}

TEST(LinkTypes, PhpTargetsOnlyWhenTheOptionIsTicked)
{
    for (int value : {0, 1, 2}) {
        CheckSetup setup;
        setup.includePhpFiles = value;
        EXPECT_EQ(TargetsOfLinks({QStringLiteral("code.php")}, setup).size(), value == 1 ? 1 : 0)
            << "option value " << value;
    }
}

TEST(LinkTypes, NoExtensionPassesOnlyWhenTheListIsNotEmpty)
{
    CheckSetup setup;
    setup.checkableFileTypes.clear();
    EXPECT_TRUE(TargetsOfLinks({QStringLiteral("contact"), QStringLiteral("a.htm")}, setup).isEmpty());
}

TEST(LinkTargets, AFolderIsNotAFile)
{
    TempTree site;
    site.folder(QStringLiteral("sub"));
    site.file(QStringLiteral("present.htm"));
    site.symlink(QStringLiteral("alias.htm"), site.path(QStringLiteral("present.htm")));
    site.file(QStringLiteral("index.htm"), PageLinkingTo({
                                               QStringLiteral("sub/"),
                                               QStringLiteral("sub"),
                                               QStringLiteral("present.htm"),
                                               QStringLiteral("alias.htm"),
                                           }));
    EXPECT_EQ(Targets(CheckSite(site)), (QStringList{QStringLiteral("sub/"), QStringLiteral("sub")}));
}

TEST(LinkDecoding, EachEscapeOfTheTableAndNoOther)
{
    const QStringList targets = TargetsOfLinks({
        QStringLiteral("a&amp;b.htm"),
        QStringLiteral("my%20page.htm"),
        QStringLiteral("%27q%27.htm"),
        QStringLiteral("%28p%29.htm"),
        QStringLiteral("fa%C3%A7ade.htm"),
        QStringLiteral("ma%C3%B1ana.htm"),
        QStringLiteral("d%C3%ADa.htm"),
        QStringLiteral("adi%C3%B3s.htm"),
        QStringLiteral("a%E2%80%93b.htm"),
        QStringLiteral("a%2Fb.htm"),
        QStringLiteral("fa%c3%a7ade.htm"),
        QStringLiteral("x&amp;amp;y.htm"),
    });
    EXPECT_EQ(targets, (QStringList{
                           QStringLiteral("a&b.htm"),
                           QStringLiteral("my page.htm"),
                           QStringLiteral("'q'.htm"),
                           QStringLiteral("(p).htm"),
                           QStringLiteral("fa\u00e7ade.htm"),
                           QStringLiteral("ma\u00f1ana.htm"),
                           QStringLiteral("d\u00eda.htm"),
                           QStringLiteral("adi\u00f3s.htm"),
                           QStringLiteral("a\u2013b.htm"),
                           QStringLiteral("a%2Fb.htm"),
                           QStringLiteral("fa%c3%a7ade.htm"),
                           QStringLiteral("x&amp;y.htm"),
                       }));
}

TEST(LinkDecoding, TheDecodedNameIsTheOneLookedFor)
{
    TempTree site;
    site.file(QStringLiteral("my page.htm"));
    site.file(QStringLiteral("index.htm"), PageLinkingTo({QStringLiteral("my%20page.htm")}));
    EXPECT_TRUE(CheckSite(site).links.isEmpty());
}

TEST(LinkClimbing, ClimbsWithinTheSiteButNeverAboveIt)
{
    TempTree site;
    site.file(QStringLiteral("x.htm"));
    site.file(QStringLiteral("index.htm"), PageLinkingTo({QStringLiteral("../outside.htm")}));
    site.file(QStringLiteral("a/b/page.htm"), PageLinkingTo({
                                                  QStringLiteral("../../x.htm"),
                                                  QStringLiteral("../../gone.htm"),
                                                  QStringLiteral("../c/z.htm"),
                                                  QStringLiteral("../../../above.htm"),
                                                  QStringLiteral("near.htm"),
                                              }));
    EXPECT_EQ(CheckSite(site).links,
              (QStringList{QStringLiteral("a/b/page.htm -> gone.htm"),
                           QStringLiteral("a/b/page.htm -> a/c/z.htm"),
                           QStringLiteral("a/b/page.htm -> a/b/near.htm")}));
}

TEST(LinkRecording, EveryOccurrenceInFoundOrderWithFullPaths)
{
    TempTree site;
    site.file(QStringLiteral("a.htm"), PageLinkingTo({QStringLiteral("x.gif"), QStringLiteral("x.gif")}));
    site.file(QStringLiteral("b/c.htm"), PageLinkingTo({QStringLiteral("../x.gif")}));
    const CheckOutcome outcome = CheckSite(site);
    ASSERT_EQ(outcome.state.lngNumBrokenLinks, 3);
    EXPECT_EQ(outcome.state.brokenLinks[1].strLinkFrom, site.path(QStringLiteral("a.htm")));
    EXPECT_EQ(outcome.state.brokenLinks[1].strLinkTo, site.path(QStringLiteral("x.gif")));
    EXPECT_EQ(outcome.state.brokenLinks[2].strLinkTo, site.path(QStringLiteral("x.gif")));
    EXPECT_EQ(outcome.state.brokenLinks[3].strLinkFrom, site.path(QStringLiteral("b/c.htm")));
    EXPECT_EQ(outcome.state.brokenLinks[3].strLinkTo, site.path(QStringLiteral("x.gif")));
    EXPECT_FALSE(outcome.state.blnMaxNumLinksReached);
}

TEST(LinkRecording, TheStatusLineCountsUp)
{
    const CheckOutcome outcome = [] {
        TempTree site;
        site.file(QStringLiteral("index.htm"),
                  PageLinkingTo({QStringLiteral("a.htm"), QStringLiteral("b.htm"), QStringLiteral("c.htm")}));
        return CheckSite(site);
    }();
    EXPECT_EQ(outcome.statuses, (QStringList{QStringLiteral("One broken link found so far."),
                                             QStringLiteral("2 broken links found so far."),
                                             QStringLiteral("3 broken links found so far.")}));
    EXPECT_EQ(BrokenLinksSoFarText(12345), QStringLiteral("12345 broken links found so far."));
}

TEST(LinkRecording, StopsReadingAndWalkingAtTheLinkLimit)
{
    TempTree site;
    site.file(QStringLiteral("a.htm"), PageLinkingTo({QStringLiteral("1.htm"), QStringLiteral("2.htm")}));
    site.file(QStringLiteral("b.htm"), PageLinkingTo({QStringLiteral("3.htm"), QStringLiteral("4.htm")}));
    site.file(QStringLiteral("c.htm"), PageLinkingTo({QStringLiteral("5.htm")}));
    CheckSetup setup;
    setup.maxNumLinks = 3;
    const CheckOutcome outcome = CheckSite(site, setup);
    EXPECT_EQ(Targets(outcome), (QStringList{QStringLiteral("1.htm"), QStringLiteral("2.htm"),
                                             QStringLiteral("3.htm")}));
    EXPECT_TRUE(outcome.state.blnMaxNumLinksReached);
}

TEST(LinkRecording, AnUnreadablePageIsSkippedAndTheWalkGoesOn)
{
    TempTree site;
    site.file(QStringLiteral("a.htm"), PageLinkingTo({QStringLiteral("from-a.htm")}));
    site.file(QStringLiteral("b.htm"), PageLinkingTo({QStringLiteral("from-b.htm")}));
    ASSERT_TRUE(QFile::setPermissions(site.path(QStringLiteral("a.htm")), QFileDevice::Permissions()));
    const std::string result = RunAsUnprivileged([&site] {
        return Targets(CheckSite(site)).join(u',').toStdString();
    });
    EXPECT_EQ(result, "from-b.htm");
}

} // namespace quillan::test
