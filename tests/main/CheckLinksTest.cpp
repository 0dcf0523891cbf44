// The Check links command, driven through the main window.

#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "main/CheckLinksText.h"
#include "windows/frmView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan::test {

namespace {

QByteArray pageLinkingTo(const QStringList &links)
{
    QByteArray page;
    for (const QString &link : links)
        page += "<a href=\"" + link.toUtf8() + "\">\r\n";
    return page;
}

class CheckLinksTest : public MainWindowTest
{
protected:
    // A site whose pages p1.htm .. pN.htm each hold one broken link.
    void pagesWithOneBrokenLinkEach(int pages)
    {
        for (int i = 1; i <= pages; ++i)
            site.file(QStringLiteral("p%1.htm").arg(i),
                      pageLinkingTo({QStringLiteral("gone%1.htm").arg(i)}));
    }

    void check()
    {
        window->txbTopFolder->setText(site.root());
        window->cmdCheckLinks_Click();
    }

    QString status() const { return window->lblTotalNumFilesOrBrokenLinks->text(); }

    static QStringList reportLines(const QString &name)
    {
        QFile file(dataFile(name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    }

    // Clicks Stop, answering Yes, once `links` broken links were recorded.
    void stopAfter(int links)
    {
        fake.ExpectBox(Interaction::Answer::Yes);
        fake.onProcessEvents = [this, links](int) {
            if (!stopClicked && window->scan().lngNumBrokenLinks >= links) {
                stopClicked = true;
                window->cmdStop_Click();
            }
        };
    }

    TempTree site;
    bool stopClicked = false;
};

} // namespace

TEST_F(CheckLinksTest, NoBrokenLinkCongratulatesAndShowsNothing)
{
    start();
    site.file(QStringLiteral("there.htm"));
    site.file(QStringLiteral("index.htm"), pageLinkingTo({QStringLiteral("there.htm")}));
    check();
    EXPECT_EQ(status(), QStringLiteral("Congratulations!  There are no broken local links."));
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_FALSE(window->view2()->isVisible());
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("links_to.txt"))));
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("links_from.txt"))));
    EXPECT_TRUE(fake.pauses.empty());
}

TEST_F(CheckLinksTest, OneBrokenLinkWritesAndShowsBothReportsSideBySide)
{
    start();
    site.file(QStringLiteral("sub/index.htm"), pageLinkingTo({QStringLiteral("../gone.htm")}));
    check();

    EXPECT_EQ(status(), QStringLiteral("There is only one broken local link."));
    EXPECT_TRUE(window->txbFileBeingScanned->text().isEmpty());
    EXPECT_FALSE(window->blnStop);
    EXPECT_EQ(window->strReportFile(), dataFile(QStringLiteral("links_from.txt")));
    EXPECT_EQ(fake.pauses, std::vector<int>{1000});

    frmView *byFrom = window->view();
    frmView *byTo = window->view2();
    ASSERT_TRUE(byFrom->isVisible());
    ASSERT_TRUE(byTo->isVisible());
    EXPECT_EQ(byFrom->windowTitle(), QStringLiteral("Broken links sorted by link-from"));
    EXPECT_EQ(byTo->windowTitle(), QStringLiteral("Broken links sorted by link-to"));
    EXPECT_GE(byTo->x(), byFrom->x() + byFrom->width() / 2);
    EXPECT_TRUE(byFrom->txbText1->toPlainText().contains(QStringLiteral("sub/index.htm \u2014>")));
    EXPECT_TRUE(byTo->txbText1->toPlainText().contains(QStringLiteral("gone.htm <\u2014")));

    EXPECT_EQ(reportLines(QStringLiteral("links_to.txt")).mid(3, 4),
              (QStringList{QStringLiteral("There is one broken link:"), QString(),
                           QStringLiteral("sub/index.htm \u2014>"), QStringLiteral("     gone.htm")}));
}

TEST_F(CheckLinksTest, SummaryCountsAndTheOptionForRepeatsReachTheReports)
{
    start();
    window->chkShowRepeatedLinks->setChecked(true);
    site.file(QStringLiteral("index.htm"),
              pageLinkingTo({QStringLiteral("x.htm"), QStringLiteral("x.htm")}));
    check();
    EXPECT_EQ(status(), QStringLiteral("There are 2 broken local links."));
    EXPECT_EQ(window->intNumRepeatedInFileBrokenLinks, 1);
    EXPECT_EQ(reportLines(QStringLiteral("links_from.txt")).mid(5),
              (QStringList{QStringLiteral("x.htm <\u2014"), QStringLiteral("     index.htm"),
                           QStringLiteral("     index.htm"), QString(),
                           QStringLiteral("There is one repeated-in-file broken link."),
                           QString()}));
}

TEST_F(CheckLinksTest, TheStatusLineCountsWhileTheWalkRuns)
{
    start();
    pagesWithOneBrokenLinkEach(2);
    QStringList seen;
    fake.onProcessEvents = [&](int) {
        const QString text = status();
        if (seen.isEmpty() || seen.last() != text)
            seen.append(text);
    };
    check();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("No broken links found so far."),
                                 QStringLiteral("One broken link found so far."),
                                 QStringLiteral("2 broken links found so far.")}));
}

TEST_F(CheckLinksTest, StoppedCheckReportsWhatItFound)
{
    start();
    pagesWithOneBrokenLinkEach(6);
    stopAfter(3);
    check();
    EXPECT_EQ(status(), QStringLiteral("Checking of links was stopped."));
    EXPECT_FALSE(window->blnStop);
    EXPECT_EQ(window->scan().lngNumBrokenLinks, 3);
    ASSERT_TRUE(window->view2()->isVisible());
    for (const QString &name : {QStringLiteral("links_to.txt"), QStringLiteral("links_from.txt")}) {
        const QStringList lines = reportLines(name);
        ASSERT_GE(lines.size(), 6) << name.toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("Link checking was stopped, so this list is incomplete."));
        EXPECT_EQ(lines[5], QStringLiteral("There are 3 broken links:"));
    }
}

TEST_F(CheckLinksTest, StoppedBeforeAnyBrokenLinkWritesNoReport)
{
    start();
    pagesWithOneBrokenLinkEach(2);
    stopAfter(0);
    check();
    EXPECT_EQ(status(), QStringLiteral("Checking of links was stopped."));
    EXPECT_EQ(window->scan().lngNumBrokenLinks, 0);
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("links_to.txt"))));
}

TEST_F(CheckLinksTest, StopAnsweredNoLetsTheCheckFinish)
{
    start();
    pagesWithOneBrokenLinkEach(3);
    fake.ExpectBox(Interaction::Answer::No);
    fake.onProcessEvents = [this](int call) {
        if (call == 2)
            window->cmdStop_Click();
    };
    check();
    EXPECT_EQ(status(), QStringLiteral("There are 3 broken local links."));
}

TEST_F(CheckLinksTest, TheLinkLimitEndsTheCheckWithFullReports)
{
    start();
    window->lngMaxNumLinks = 2;
    pagesWithOneBrokenLinkEach(3);
    check();
    EXPECT_EQ(status(), QStringLiteral("There are 2 broken local links."));
    EXPECT_EQ(reportLines(QStringLiteral("links_to.txt"))[3],
              QStringLiteral("There are 2 broken links:"));
}

TEST_F(CheckLinksTest, EmptyTopFolderIsExplainedAndNothingElseHappens)
{
    start();
    fake.ExpectBox(Interaction::Answer::Ok);
    window->txbTopFolder->setText(QStringLiteral("   "));
    window->cmdCheckLinks_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Check links"));
    EXPECT_EQ(fake.boxes[0].text, window->GetProgramText(35));
    EXPECT_TRUE(status().isEmpty());
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_FALSE(window->view2()->isVisible());
}

TEST_F(CheckLinksTest, AReportThatCannotBeWrittenIsToldAndTheSummaryStays)
{
    start();
    ASSERT_TRUE(QDir().mkpath(dataFile(QStringLiteral("links_to.txt"))));
    pagesWithOneBrokenLinkEach(1);
    fake.ExpectBox(Interaction::Answer::Ok);
    check();
    ASSERT_EQ(fake.boxes.size(), 1u);
    const FakeInteraction::Box &box = fake.boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("Check links"));
    EXPECT_EQ(box.icon, Interaction::Icon::Exclamation);
    EXPECT_EQ(box.buttons, Interaction::Buttons::Ok);
    EXPECT_TRUE(box.text.contains(dataFile(QStringLiteral("links_to.txt")))) << box.text.toStdString();
    EXPECT_GT(box.text.size(), ReportWriteFailureText(dataFile(QStringLiteral("links_to.txt")), QString()).size());
    EXPECT_EQ(status(), QStringLiteral("There is only one broken local link."));
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_FALSE(window->view2()->isVisible());
}

TEST_F(CheckLinksTest, ACleanCheckLeavesEarlierReportsAndHidesTheViewers)
{
    start();
    pagesWithOneBrokenLinkEach(1);
    check();
    ASSERT_TRUE(window->view()->isVisible());
    const QStringList earlier = reportLines(QStringLiteral("links_from.txt"));

    QFile::remove(site.path(QStringLiteral("p1.htm")));
    check();
    EXPECT_EQ(status(), QStringLiteral("Congratulations!  There are no broken local links."));
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_FALSE(window->view2()->isVisible());
    EXPECT_EQ(reportLines(QStringLiteral("links_from.txt")), earlier);
}

TEST_F(CheckLinksTest, QuitAfterACheckDeletesOnlyTheLastReport)
{
    start();
    pagesWithOneBrokenLinkEach(1);
    check();
    ASSERT_TRUE(QFile::exists(dataFile(QStringLiteral("links_from.txt"))));
    window->cmdQuit_Click();
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("links_from.txt"))));
    EXPECT_TRUE(QFile::exists(dataFile(QStringLiteral("links_to.txt"))));
}

TEST(CheckLinksText, SummarySentences)
{
    EXPECT_EQ(CheckLinksSummaryText(0), QStringLiteral("Congratulations!  There are no broken local links."));
    EXPECT_EQ(CheckLinksSummaryText(1), QStringLiteral("There is only one broken local link."));
    EXPECT_EQ(CheckLinksSummaryText(2), QStringLiteral("There are 2 broken local links."));
    EXPECT_EQ(CheckLinksSummaryText(50000), QStringLiteral("There are 50000 broken local links."));
}

} // namespace quillan::test
