// The Check links command, driven through the main window.

#include "gui/MainWindowTest.h"
#include "gui/WindowChecks.h"

#include "engine/TempTree.h"
#include "run/CheckLinksText.h"
#include "scan/LinkChecker.h"
#include "windows/frmView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <string>
#include <utility>
#include <vector>

namespace quillan::test {

namespace {

class CheckLinksTest : public MainWindowTest
{
protected:
    // A site whose pages p1.htm .. pN.htm each hold one broken link.
    void pagesWithOneBrokenLinkEach(int pages)
    {
        for (int i = 1; i <= pages; ++i)
            site.file(QStringLiteral("p%1.htm").arg(i),
                      QStringLiteral("<a href=\"gone%1.htm\">").arg(i).toUtf8());
    }

    void check()
    {
        window->txbTopFolder->setText(site.root());
        window->cmdCheckLinks_Click();
    }

    std::string status() const
    {
        return window->lblTotalNumFilesOrBrokenLinks->text().toStdString();
    }

    static QString file(const char *name) { return dataFile(QString::fromLatin1(name)); }

    // The report's text with each CR LF as "\n"; "" when there is none.
    static std::string report(const char *name)
    {
        return FileBytes(file(name)).replace("\r\n", "\n").toStdString();
    }

    std::string header(const std::string &countLine) const
    {
        return "Top folder is\n" + site.root().toStdString() + "\n\n" + countLine + "\n\n";
    }

    // Checks the site, clicking Stop and giving the answer each time the
    // number of broken links found reaches the next count.
    void checkClickingStop(std::vector<std::pair<qint32, Interaction::Answer>> stops)
    {
        for (const auto &stop : stops)
            fake.ExpectBox(stop.second);
        fake.onProcessEvents = [this, stops, next = size_t(0)](int) mutable {
            if (next < stops.size() && window->scan().lngNumBrokenLinks == stops[next].first) {
                ++next;
                window->cmdStop_Click();
            }
        };
        check();
    }

    bool viewersShown() const
    {
        return window->view()->isVisible() || window->view2()->isVisible();
    }

    TempTree site;
};

} // namespace

TEST_F(CheckLinksTest, OneBrokenLinkShowsBothReportsACleanCheckHidesThemAndQuitDeletesTheSortedOne)
{
    start();
    site.file(QStringLiteral("sub/index.htm"), QByteArray(R"(<a href="../gone.htm">)"));
    check();

    EXPECT_EQ(status(), "There is only one broken local link.");
    EXPECT_TRUE(window->txbFileBeingScanned->text().isEmpty());
    EXPECT_EQ(fake.pauses, std::vector<int>{1000});
    EXPECT_EQ(report("links_to.txt"),
              header("There is one broken link:") + "sub/index.htm —>\n     gone.htm\n");

    frmView *byFrom = window->view();
    frmView *byTo = window->view2();
    ASSERT_TRUE(byFrom->isVisible() && byTo->isVisible());
    EXPECT_EQ(byFrom->windowTitle(), QStringLiteral("Broken links sorted by link-from"));
    EXPECT_EQ(byTo->windowTitle(), QStringLiteral("Broken links sorted by link-to"));
    EXPECT_GE(byTo->x(), byFrom->x() + byFrom->width() / 2);
    EXPECT_TRUE(byFrom->txbText1->toPlainText().contains(QStringLiteral("sub/index.htm \u2014>")));
    EXPECT_TRUE(byTo->txbText1->toPlainText().contains(QStringLiteral("gone.htm <\u2014")));

    // A clean check congratulates, hides the viewers and leaves the reports.
    const std::string earlier = report("links_from.txt");
    site.file(QStringLiteral("gone.htm"));
    check();
    EXPECT_EQ(status(), "Congratulations!  There are no broken local links.");
    EXPECT_FALSE(viewersShown());
    EXPECT_EQ(report("links_from.txt"), earlier);
    EXPECT_EQ(fake.pauses.size(), 1u); // only the first check showed its reports

    window->cmdQuit_Click();
    EXPECT_FALSE(QFile::exists(file("links_from.txt")));
    EXPECT_TRUE(QFile::exists(file("links_to.txt")));
}

TEST_F(CheckLinksTest, SummaryTheLinkLimitAndTheOptionForRepeatsReachTheReports)
{
    start();
    window->chkShowRepeatedLinks->setChecked(true);
    window->lngMaxNumLinks = 2;
    site.file(QStringLiteral("index.htm"), QByteArray("<a href=\"x.htm\">\r\n").repeated(2));
    pagesWithOneBrokenLinkEach(1); // beyond the limit: not checked
    check();
    EXPECT_EQ(status(), "There are 2 broken local links.");
    EXPECT_EQ(window->intNumRepeatedInFileBrokenLinks, 1);
    EXPECT_EQ(report("links_from.txt"), header("There are 2 broken links:")
                                            + "x.htm <—\n     index.htm\n     index.htm\n\n"
                                              "There is one repeated-in-file broken link.\n");
}

TEST_F(CheckLinksTest, StopEndsTheCheckOnlyOnYesAndTheStatusLineCountsWhileTheWalkRuns)
{
    start();
    pagesWithOneBrokenLinkEach(6);
    // Stopped before any broken link was found: no report.
    checkClickingStop({{0, Interaction::Answer::Yes}});
    EXPECT_EQ(status(), "Checking of links was stopped.");
    EXPECT_FALSE(viewersShown());
    EXPECT_FALSE(QFile::exists(file("links_to.txt")));

    checkClickingStop({{1, Interaction::Answer::No}, {3, Interaction::Answer::Yes}});
    EXPECT_EQ(status(), "Checking of links was stopped.");
    EXPECT_EQ(window->scan().lngNumBrokenLinks, 3);
    EXPECT_FALSE(window->blnStop);
    ASSERT_TRUE(window->view2()->isVisible());
    const std::string top = "Link checking was stopped, so this list is incomplete.\n\n"
                            + header("There are 3 broken links:");
    for (const char *name : {"links_to.txt", "links_from.txt"})
        EXPECT_EQ(report(name).substr(0, top.size()), top) << name;

    // Left to run, the walk counts what it finds in the status line.
    std::vector<std::string> seen;
    fake.onProcessEvents = [&](int) {
        if (seen.empty() || seen.back() != status())
            seen.push_back(status());
    };
    check();
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[0], "No broken links found so far.");
    EXPECT_EQ(seen[1], "One broken link found so far.");
    EXPECT_EQ(seen[6], "6 broken links found so far.");
}

TEST_F(CheckLinksTest, TheScanningBoxFollowsTheWalkFileByFileAndIsEmptiedAtTheEnd)
{
    start();
    site.file(QStringLiteral("a.htm"), QByteArray(R"(<a href="gone.htm">)"));
    site.file(QStringLiteral("notes.txt"));
    site.file(QStringLiteral("sub/b.htm"));
    site.byteNamedFile("sub/caf\xE9.htm"); // a Latin-1 name on a UTF-8 system
    std::vector<QString> shown;
    fake.onProcessEvents = [&](int) {
        const QString text = window->txbFileBeingScanned->text();
        if (!text.isEmpty() && (shown.empty() || shown.back() != text))
            shown.push_back(text);
    };
    window->txbTopFolder->setText(site.root());
    QTest::mouseClick(window->cmdCheckLinks, Qt::LeftButton);
    // Every file, a page or not, relative to the top folder, as its name
    // is shown; none once the check is over.
    EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("a.htm"), QStringLiteral("notes.txt"),
                                           QStringLiteral("sub/b.htm"), QStringLiteral("sub/caf\uFFFD.htm")}));
    EXPECT_TRUE(window->txbFileBeingScanned->text().isEmpty());
    EXPECT_EQ(status(), "There is only one broken local link.");
}

TEST_F(CheckLinksTest, AReportThatCannotBeWrittenIsToldAndTheSummaryStays)
{
    start();
    ASSERT_TRUE(QDir().mkpath(file("links_to.txt")));
    pagesWithOneBrokenLinkEach(1);
    fake.ExpectBox(Interaction::Answer::Ok);
    check();
    ASSERT_EQ(fake.boxes.size(), 1u);
    const FakeInteraction::Box &box = fake.boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("Check links"));
    EXPECT_EQ(box.icon, Interaction::Icon::Exclamation);
    EXPECT_EQ(box.buttons, Interaction::Buttons::Ok);
    // The path and, after it, why the file could not be written.
    EXPECT_TRUE(box.text.contains(file("links_to.txt"))) << box.text.toStdString();
    EXPECT_GT(box.text.size(), ReportWriteFailureText(file("links_to.txt"), QString()).size());
    EXPECT_EQ(status(), "There is only one broken local link.");
    EXPECT_FALSE(viewersShown());
}

// The sentences for 0, 1 and 2 are checked through the window above.
TEST(CheckLinksText, LargeCountsHaveNoGroupSeparators)
{
    EXPECT_EQ(CheckLinksSummaryText(50000), QStringLiteral("There are 50000 broken local links."));
    EXPECT_EQ(BrokenLinksSoFarText(12345), QStringLiteral("12345 broken links found so far."));
}

TEST_F(CheckLinksTest, TheReadingBoxesTickedByMouseAndKeysReadEveryLinkAndItsAnchors)
{
    start();
    site.file(QStringLiteral("index.htm"), QByteArray("<a href=\"/gone.htm\">\n<a href=\"#nope\">\n"));
    window->txbTopFolder->setText(site.root());
    QCheckBox *browser = window->chkReadAsBrowser;
    QCheckBox *anchors = window->chkCheckAnchors;
    EXPECT_FALSE(anchors->isEnabled());

    // The click leaves the focus on the box, so Tab reaches the box it
    // enabled and Space ticks that.
    ClickCheckBox(browser);
    EXPECT_TRUE(browser->isChecked());
    ASSERT_TRUE(anchors->isEnabled());
    EXPECT_EQ(window->focusWidget(), browser);
    QTest::keyClick(browser, Qt::Key_Tab);
    ASSERT_EQ(window->focusWidget(), anchors);
    QTest::keyClick(anchors, Qt::Key_Space);
    EXPECT_TRUE(anchors->isChecked());
    check();
    EXPECT_EQ(status(), "There are 2 broken local links.");
    EXPECT_TRUE(anchors->isEnabled()) << "the end of a check enables it again";

    // Without anchors only the file counts; unticked, the classic reading
    // checks neither link, and the anchors box waits, ticked, greyed out.
    ClickCheckBox(anchors);
    check();
    EXPECT_EQ(status(), "There is only one broken local link.");
    ClickCheckBox(anchors);
    ClickCheckBox(browser);
    EXPECT_FALSE(anchors->isEnabled());
    EXPECT_TRUE(anchors->isChecked());
    check();
    EXPECT_EQ(status(), "Congratulations!  There are no broken local links.");
    EXPECT_FALSE(anchors->isEnabled()) << "a check does not enable it while the first is unticked";
}

} // namespace quillan::test
