// The layouts of both reports of broken links.

#include "reports/BrokenLinkReports.h"

#include "engine/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace quillan::test {

namespace {

const QString kTop = QStringLiteral("/site/");

class ReportsTest : public ::testing::Test
{
protected:
    // Writes both reports, in the window's order, of a table of (page, target)
    // pairs relative to kTop, recorded `times` over, and reads them back. Like
    // the window's, the table has a spare entry past the count (here a repeat
    // of the last link): it must be neither counted, sorted nor listed.
    void write(std::initializer_list<std::pair<const char *, const char *>> pairs, int times = 1)
    {
        table = {BrokenLink{}};
        for (int i = 0; i < times; ++i) {
            for (const auto &[page, target] : pairs) {
                table.append(BrokenLink{kTop + QString::fromUtf8(page),
                                        kTop + QString::fromUtf8(target), 0, {}});
            }
        }
        const qint32 count = qint32(table.size() - 1);
        table.append(BrokenLink(table.last()));
        const LinkFromReportResult fromResult =
            WriteReportByLinkFrom(path("links_to.txt"), settings, table, count);
        ASSERT_EQ(fromResult.error, QString());
        repeated = fromResult.numRepeatedInFile;
        ASSERT_EQ(WriteReportByLinkTo(path("links_from.txt"), settings, table, count, repeated),
                  QString());
        byLinkFrom = readBack("links_to.txt");
        byLinkTo = readBack("links_from.txt");
    }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }

    // The file's text with each CR LF as "\n"; no line may end otherwise.
    std::string readBack(const char *name) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        EXPECT_EQ(text.count('\n'), text.count("\r\n"));
        return text.replace("\r\n", "\n").toStdString();
    }

    static std::string header(int count)
    {
        return "Top folder is\n/site/\n\n"
               + (count == 1 ? std::string("There is one broken link:")
                             : "There are " + std::to_string(count) + " broken links:")
               + "\n\n";
    }

    QTemporaryDir dir;
    QList<BrokenLink> table;
    ReportSettings settings{kTop, false, false, {}};
    qint64 repeated = -1;
    std::string byLinkFrom;
    std::string byLinkTo;
};

} // namespace

TEST_F(ReportsTest, OneAndThreeLinksWithAndWithoutAStop)
{
    for (bool stopped : {false, true}) {
        settings.stopped = stopped;
        const std::string first =
            stopped ? "Link checking was stopped, so this list is incomplete.\n\n" : "";
        write({{"index.htm", "gone.htm"}});
        EXPECT_EQ(byLinkFrom, first + header(1) + "index.htm —>\n     gone.htm\n");
        EXPECT_EQ(byLinkTo, first + header(1) + "gone.htm <—\n     index.htm\n");
        write({{"a.htm", "img/x.gif"}, {"a.htm", "b.htm"}, {"docs/c.htm", "img/x.gif"}});
        EXPECT_EQ(byLinkFrom, first + header(3) + "a.htm —>\n     img/x.gif\n     b.htm\n"
                                                  "docs/c.htm —>\n     img/x.gif\n");
        EXPECT_EQ(byLinkTo, first + header(3) + "b.htm <—\n     a.htm\n"
                                                "img/x.gif <—\n     a.htm\n     docs/c.htm\n");
        EXPECT_EQ(repeated, 0);
    }
}

TEST_F(ReportsTest, ALinkRepeatedInAPageIsListedOnceUnlessAskedFor)
{
    const std::string footer = "\nThere is one repeated-in-file broken link.\n";
    write({{"p.htm", "x.htm"}}, 2);
    EXPECT_EQ(byLinkFrom, header(2) + "p.htm —>\n     x.htm\n" + footer);
    EXPECT_EQ(byLinkTo, header(2) + "x.htm <—\n     p.htm\n" + footer);

    settings.showRepeatedLinks = true;
    write({{"p.htm", "x.htm"}}, 2);
    EXPECT_EQ(byLinkFrom, header(2) + "p.htm —>\n     x.htm\n     x.htm\n" + footer);
    EXPECT_EQ(byLinkTo, header(2) + "x.htm <—\n     p.htm\n     p.htm\n" + footer);
}

TEST_F(ReportsTest, RepeatsAreCountedPastOneAndPast16Bits)
{
    write({{"p.htm", "x.htm"}}, 3);
    EXPECT_EQ(byLinkFrom,
              header(3) + "p.htm —>\n     x.htm\n\nThere are 2 repeated-in-file broken links.\n");
    EXPECT_EQ(byLinkTo,
              header(3) + "x.htm <—\n     p.htm\n\nThere are 2 repeated-in-file broken links.\n");

    write({{"p.htm", "x.htm"}}, 40000);
    EXPECT_EQ(byLinkTo, header(40000) + "x.htm <—\n     p.htm\n\n"
                                        "There are 39999 repeated-in-file broken links.\n");
}

TEST_F(ReportsTest, TargetsSortByCharacterCodeAndPrefixFirst)
{
    write({{"p.htm", "a.htm"}, {"p.htm", "A.htm"}, {"p.htm", "a"}, {"b.htm", "a"}});
    EXPECT_EQ(byLinkTo, header(4) + "A.htm <—\n     p.htm\n"
                                    "a <—\n     b.htm\n     p.htm\n"
                                    "a.htm <—\n     p.htm\n");
}

TEST_F(ReportsTest, ATargetThatIsAPrefixOfAnotherSortsAsIfPaddedWithSpaces)
{
    // "a" stands as "a  " against "a\tb" and "a b": after the first, before
    // the second, and level with "a " (shown trimmed); the pages order each
    // target's group.
    write({{"q.htm", "a b"}, {"r.htm", "a "}, {"q.htm", "a"}, {"p.htm", "a\tb"}, {"p.htm", "a"}});
    EXPECT_EQ(byLinkTo, header(5) + "a\tb <—\n     p.htm\n"
                                    "a <—\n     p.htm\n     q.htm\n     r.htm\n"
                                    "a b <—\n     q.htm\n");
}

TEST_F(ReportsTest, AnEntryContainedInAnEarlierOneOfItsGroupIsNotListed)
{
    write({{"p.htm", "docs/a.htm"}, {"p.htm", "a.htm"}, {"p.htm", "img/a.gif.bak"},
           {"p.htm", "img/a.gif"}, {"docs/q.htm", "gone.htm"}, {"q.htm", "gone.htm"},
           {"r.htm", "docs/a.htm"}});
    EXPECT_EQ(byLinkFrom, header(7) + "p.htm —>\n     docs/a.htm\n     img/a.gif.bak\n"
                                      "docs/q.htm —>\n     gone.htm\n"
                                      "q.htm —>\n     gone.htm\n"
                                      "r.htm —>\n     docs/a.htm\n");
    // In a target's group, q.htm lies inside docs/q.htm listed before it.
    EXPECT_EQ(byLinkTo, header(7) + "a.htm <—\n     p.htm\n"
                                    "docs/a.htm <—\n     p.htm\n     r.htm\n"
                                    "gone.htm <—\n     docs/q.htm\n"
                                    "img/a.gif <—\n     p.htm\n"
                                    "img/a.gif.bak <—\n     p.htm\n");
    EXPECT_EQ(repeated, 0); // no two links share both page and target
}

// The link-to rows against their rule written out: targets padded with
// spaces to the longest, then pages, by code unit, each target trimmed; and
// the count of repeats its sort gives against the count by page and target.
TEST(LinkToRows, FollowTheirRuleAndCountRepeatsOnRandomTables)
{
    const QStringList targets = QStringLiteral("a|a |a\tb|a b|A|b/a|a/b/a|x.htm| a").split(u'|');
    const QStringList pages = QStringLiteral("p.htm|q.htm|d/p.htm|P.htm|d/q.htm").split(u'|');
    QRandomGenerator random(11);
    for (int round = 0; round < 200; ++round) {
        // Runs of one page each; a page may come back in a later run, and a
        // path may lie outside the top folder ("/SITE/p.htm" shows as p.htm).
        QList<BrokenLink> table{BrokenLink{}};
        for (int run = random.bounded(1, 12); run > 0; --run) {
            const QString page = random.bounded(8) == 0 ? QStringLiteral("/SITE/p.htm")
                                                        : kTop + pages[random.bounded(int(pages.size()))];
            for (int n = random.bounded(1, 6); n > 0; --n) {
                // Often the very text of an earlier entry, shared as the
                // checker shares a folder's targets.
                const QString target = table.size() > 1 && random.bounded(3) == 0
                                           ? table[random.bounded(1, int(table.size()))].strLinkTo
                                       : random.bounded(20) == 0
                                           ? QStringLiteral("/elsewhere/a")
                                           : kTop + targets[random.bounded(int(targets.size()))];
                table.append(BrokenLink{page, target, 0, {}});
            }
        }
        const auto count = qint32(table.size() - 1);

        qsizetype longest = 0;
        for (qint32 i = 1; i <= count; ++i)
            longest = qMax(longest, table[i].strLinkTo.size() - kTop.size());
        std::vector<std::pair<QString, QString>> expected;
        for (qint32 i = 1; i <= count; ++i) {
            const QString target = table[i].strLinkTo.mid(kTop.size());
            expected.emplace_back(target.leftJustified(longest, u' '), table[i].strLinkFrom.mid(kTop.size()));
        }
        std::sort(expected.begin(), expected.end());

        qint64 repeated = -1;
        const std::vector<LinkToRow> rows = LinkToRows(kTop, table, count, &repeated);
        ASSERT_EQ(rows.size(), expected.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].target, expected[i].first.trimmed()) << round << " " << i;
            EXPECT_EQ(rows[i].page, expected[i].second) << round << " " << i;
        }
        EXPECT_EQ(repeated, CountRepeatedInFileBrokenLinks(table, count)) << round;
    }
}

TEST(ReportRuns, ReportsWrittenInRunsOfGroupsAreTheSame)
{
    // Groups of 1 to 30 pages and one of 1,500, longer than a run; pages
    // repeat and lie inside each other. The table holds the same entries
    // the other way round: by page.
    std::vector<LinkToRow> rows;
    QList<BrokenLink> table{BrokenLink{}};
    for (int target = 0; target < 300; ++target) {
        const int pages = target == 60 ? 1500 : 1 + target % 30;
        for (int page = 0; page < pages; ++page) {
            rows.push_back(LinkToRow{QStringLiteral("t%1.htm").arg(target, 4, 10, QChar(u'0')),
                                     QStringLiteral("d/p%1.htm").arg(page / 2)});
            table.append(BrokenLink{kTop + rows.back().target, kTop + rows.back().page, 1, {}});
        }
    }
    const auto numLinks = qint32(table.size() - 1);
    ASSERT_GT(numLinks, 4000);
    for (const bool showRepeated : {false, true}) {
        const ReportSettings settings{kTop, showRepeated, false, {}};
        const ReportText linkTo = LinkToReportBody(settings, rows);
        const ReportText linkFrom = LinkFromReportBody(settings, table, numLinks);
        // The big group keeps one group line.
        EXPECT_EQ(linkTo.bytes().count("t0060.htm <"), 1) << showRepeated;
        for (const int pieces : {1, 2, 3, 8, 50, 10000}) {
            SCOPED_TRACE(pieces);
            const std::vector<qsizetype> toRuns = LinkToReportRuns(rows, pieces);
            const std::vector<qsizetype> fromRuns = LinkFromReportRuns(settings, table, numLinks, pieces);
            EXPECT_LE(toRuns.size(), size_t(pieces) + 1);
            EXPECT_GE(toRuns.size(), std::min(size_t(pieces), size_t(3)));
            ReportText joinedTo;
            WriteReportHeader(joinedTo, settings, numLinks);
            for (size_t run = 0; run + 1 < toRuns.size(); ++run)
                joinedTo.append(LinkToReportLines(settings, rows, toRuns[run], toRuns[run + 1]));
            EXPECT_EQ(joinedTo.bytes(), linkTo.bytes()) << showRepeated;
            ReportText joinedFrom;
            WriteReportHeader(joinedFrom, settings, numLinks);
            for (size_t run = 0; run + 1 < fromRuns.size(); ++run)
                joinedFrom.append(LinkFromReportLines(settings, table, fromRuns[run], fromRuns[run + 1]));
            EXPECT_EQ(joinedFrom.bytes(), linkFrom.bytes()) << showRepeated;
        }
    }
}

// Targets named from the very same pages (a template's missing files) share
// the lines of their groups; a group that differs in one page, or one with
// the same pages in other order, is written on its own. Against the rule
// written out: a page is listed unless it occurs in ":" + the pages listed
// before it under the target.
TEST(ReportRuns, GroupsOfTheSamePagesAreListedByTheRule)
{
    QStringList pages;
    for (int page = 0; page < 200; ++page) {
        pages.append(QStringLiteral("d/p%1.htm").arg(page));
        if (page % 7 == 0)
            pages.append(QStringLiteral("p%1.htm").arg(page)); // inside the one before
        if (page % 11 == 0)
            pages.append(pages.last()); // a repeat
    }
    QStringList oneChanged = pages; // the same lengths, so the same key
    oneChanged[150] = QStringLiteral("d/q%1").arg(oneChanged[150].mid(3));
    QStringList reversed = pages;
    std::reverse(reversed.begin(), reversed.end());
    QStringList copied; // equal texts, not shared ones
    for (const QString &page : pages)
        copied.append(QString(page.constData(), page.size()));
    const std::vector<std::pair<QString, QStringList>> groups{
        {QStringLiteral("a.gif"), pages},       {QStringLiteral("b.css"), oneChanged},
        {QStringLiteral("c.htm"), pages},       {QStringLiteral("d.htm"), pages.mid(0, 40)},
        {QStringLiteral("e.htm"), reversed},    {QStringLiteral("f.htm"), copied},
        {QStringLiteral("g.htm"), oneChanged}, {QStringLiteral("h.htm"), pages}};
    std::vector<LinkToRow> rows;
    std::string expected;
    for (const auto &[target, groupPages] : groups) {
        expected += target.toStdString() + " <\u2014\r\n";
        QString joined;
        for (const QString &page : groupPages) {
            rows.push_back(LinkToRow{target, page});
            if (!joined.isEmpty() && joined.contains(page))
                continue;
            joined += u':' + page;
            expected += "     " + page.toStdString() + "\r\n";
        }
    }
    const ReportSettings settings{kTop, false, false, {}};
    ReportText header;
    WriteReportHeader(header, settings, qint32(rows.size()));
    const QByteArray whole = header.bytes() + QByteArray::fromStdString(expected);
    EXPECT_EQ(LinkToReportBody(settings, rows).bytes(), whole);
    for (const int pieces : {2, 3, 8}) {
        const std::vector<qsizetype> runs = LinkToReportRuns(rows, pieces);
        SharedGroupLines shared;
        ReportText joined;
        WriteReportHeader(joined, settings, qint32(rows.size()));
        for (size_t run = 0; run + 1 < runs.size(); ++run)
            joined.append(LinkToReportLines(settings, rows, runs[run], runs[run + 1], &shared));
        EXPECT_EQ(joined.bytes(), whole) << pieces;
    }
}

TEST_F(ReportsTest, AReportThatCannotBeWrittenSaysWhy)
{
    table = {BrokenLink{},
             BrokenLink{kTop + QStringLiteral("p.htm"), kTop + QStringLiteral("x.htm"), 0, {}}};
    ASSERT_TRUE(QDir().mkpath(path("links_to.txt")));
    EXPECT_FALSE(WriteReportByLinkFrom(path("links_to.txt"), settings, table, 1).error.isEmpty());

    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString target = path("links_from.txt");
    const std::string error = RunAsUnprivileged([&] {
        return WriteReportByLinkTo(target, settings, table, 1, 0).toStdString();
    });
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
}

} // namespace quillan::test
