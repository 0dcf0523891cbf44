// Both reports written at the end of a check, by one thread or shared among
// several.

#include "run/CheckLinksReports.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

const QString kTop = QStringLiteral("/site/");

// A table such as a walk leaves: pages in walk order, each with a few
// targets, many shared (a menu's missing page), some prefixes of others,
// some repeated within a page.
ScanState CheckedSite(int pages = 1000)
{
    ScanState state;
    state.EmptyBrokenLinks();
    QRandomGenerator random(20261208);
    const QStringList targets =
        QStringLiteral("menu.htm|a|a |a b|a\tb|img/logo.gif|zz.htm|a/b.htm|x y.htm").split(u'|');
    for (int page = 0; page < pages; ++page) {
        const QString path = kTop + QStringLiteral("d%1/page%2.htm").arg(page % 7).arg(page);
        for (int link = random.bounded(1, 6); link > 0; --link) {
            ++state.lngNumBrokenLinks;
            state.GrowBrokenLinks(100);
            state.brokenLinks[state.lngNumBrokenLinks] =
                BrokenLink{path, kTop + targets[random.bounded(int(targets.size()))], link, {}};
        }
    }
    return state;
}

struct Written {
    QStringList pathsAsked;
    QByteArray byPage;
    QByteArray byTarget;
    // What each report's file held, and whether the other one was there,
    // when the host heard it was written.
    QList<QByteArray> heldWhenDone;
    QList<bool> otherThereWhenDone;
};

Written WriteBoth(ScanState &state, int threads, bool firstFails = false)
{
    QTemporaryDir dir;
    Written written;
    CheckReportSteps steps;
    steps.reportPath = [&](const QString &name) {
        written.pathsAsked.append(name);
        return dir.filePath(name);
    };
    auto read = [&](const QString &name) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    steps.reportDone = [&](const QString &path, const QString &error) {
        EXPECT_EQ(error, QString());
        const bool first = path.endsWith(kLinksToReportName);
        const QString &other = first ? kLinksFromReportName : kLinksToReportName;
        written.heldWhenDone.append(read(first ? kLinksToReportName : kLinksFromReportName));
        written.otherThereWhenDone.append(QFile::exists(dir.filePath(other)));
        return !firstFails;
    };
    const ReportSettings settings{kTop, false, false, {}};
    WriteCheckReports(state, settings, steps, threads);
    written.byPage = read(kLinksToReportName);
    written.byTarget = read(kLinksFromReportName);
    return written;
}

} // namespace

TEST(CheckLinksReports, ReportsBuiltByManyThreadsAreTheSame)
{
    // The larger site's runs are long enough to be joined without a copy.
    for (const int pages : {1000, 20000}) {
    SCOPED_TRACE(pages);
    ScanState alone = CheckedSite(pages);
    const Written one = WriteBoth(alone, 1);
    ASSERT_FALSE(one.byTarget.isEmpty());
    for (const int threads : {2, 3, 8}) {
        SCOPED_TRACE(threads);
        ScanState shared = CheckedSite(pages);
        const Written many = WriteBoth(shared, threads);
        EXPECT_EQ(one.pathsAsked, many.pathsAsked);
        EXPECT_EQ(one.byPage, many.byPage);
        EXPECT_EQ(one.byTarget, many.byTarget);
        // Each file is whole when the host hears of it, and the second is
        // written only after the host has heard of the first.
        EXPECT_EQ(many.heldWhenDone, (QList<QByteArray>{many.byPage, many.byTarget}));
        EXPECT_EQ(many.otherThereWhenDone, (QList<bool>{false, true}));
        // The table is left sorted by target alike, for the window to show.
        for (qint32 i = 1; i <= alone.lngNumBrokenLinks; ++i) {
            ASSERT_EQ(alone.brokenLinks[i].strLinkFrom, shared.brokenLinks[i].strLinkFrom) << i;
            ASSERT_EQ(alone.brokenLinks[i].strLinkTo, shared.brokenLinks[i].strLinkTo) << i;
        }
    }
    }
}

TEST(CheckLinksReports, AFailedFirstReportEndsTheWritingWithTheTableAsFound)
{
    for (const int threads : {1, 2}) {
        ScanState state = CheckedSite();
        const ScanState before = CheckedSite();
        const Written written = WriteBoth(state, threads, true);
        EXPECT_EQ(written.pathsAsked, QStringList{kLinksToReportName}) << threads;
        EXPECT_TRUE(written.byTarget.isEmpty()) << threads;
        for (qint32 i = 1; i <= state.lngNumBrokenLinks; ++i) {
            ASSERT_EQ(state.brokenLinks[i].strLinkFrom, before.brokenLinks[i].strLinkFrom);
            ASSERT_EQ(state.brokenLinks[i].strLinkTo, before.brokenLinks[i].strLinkTo);
        }
    }
}

} // namespace quillan::test
