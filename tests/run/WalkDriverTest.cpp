// A check's tables freed on a thread of their own while the caller goes on:
// the reports and the next walk see nothing of it. (The sanitized and
// ThreadSanitizer runs of the suite watch the freeing thread here.)

#include "run/CheckLinksReports.h"
#include "run/WalkDriver.h"
#include "settings/TargetFileTypes.h"

#include "engine/TempTree.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

// Forty pages in four folders, each linking to pages there and missing,
// pictures and a page of the top folder.
void buildSite(TempTree &site)
{
    for (int i = 0; i < 40; ++i) {
        const QString folder = QStringLiteral("d%1/").arg(i % 4);
        site.file(folder + QStringLiteral("p%1.htm").arg(i),
                  QStringLiteral("<a href=\"p%1.htm\">next</a>\n<a href=\"gone%2.htm\">x</a>\n"
                                 "<img src=\"../img/pic%3.gif\">\n<a href=\"../top.htm\">top</a>\n")
                      .arg(i + 4)
                      .arg(i % 3)
                      .arg(i % 5)
                      .toUtf8());
    }
    site.file(QStringLiteral("top.htm"), QByteArrayLiteral("<a href=\"d0/p0.htm\">first</a>"));
    site.file(QStringLiteral("img/pic0.gif"));
}

QString tableOf(const ScanState &state)
{
    QString table;
    for (qint32 i = 1; i <= state.lngNumBrokenLinks; ++i)
        table += state.brokenLinks[i].strLinkFrom + u'>' + state.brokenLinks[i].strLinkTo + u'\n';
    return table;
}

TEST(WalkDriver, AChecksTablesAreFreedBesideItsReportsAndTheNextCheck)
{
    TempTree site;
    buildSite(site);
    QTemporaryDir out;
    for (const bool asBrowser : {false, true}) {
        ScanOptions options;
        options.topFolder = site.root();
        options.checkableFileTypes = DefaultCheckableFileTypes();
        options.readAsBrowser = asBrowser;
        QuietWalkHost host;
        ScanState oneThread;
        oneThread.EmptyBrokenLinks();
        oneThread.blnCheckingLinks = true;
        options.jobs = 1;
        RunWalk(oneThread, options, host);
        const QString expected = tableOf(oneThread);
        ASSERT_GT(oneThread.lngNumBrokenLinks, 40) << expected.toStdString();

        options.jobs = 3;
        ScanState state;
        WalkLeftovers leftovers;
        for (int round = 0; round < 3; ++round) {
            state.EmptyBrokenLinks();
            state.blnCheckingLinks = true;
            // Each walk waits for the last one's tables to be freed.
            leftovers = RunWalk(state, options, host);
            state.blnCheckingLinks = false;
            EXPECT_EQ(tableOf(state), expected) << asBrowser << round;
            ReportSettings settings;
            settings.topFolder = options.topFolder;
            CheckReportSteps steps;
            steps.reportPath = [&](const QString &name) { return out.filePath(name); };
            steps.reportDone = [](const QString &, const QString &error) { return error.isEmpty(); };
            WriteCheckReports(state, settings, steps, 2);
            QFile byPage(out.filePath(kLinksToReportName));
            ASSERT_TRUE(byPage.open(QIODevice::ReadOnly));
            EXPECT_TRUE(byPage.readAll().contains("gone1.htm"));
        }
    }
}

} // namespace
} // namespace quillan::test
