// The layouts of both reports of broken links.

#include "reports/BrokenLinkReports.h"

#include "engine/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace quillan::test {

namespace {

const QString kTop = QStringLiteral("/site/");

// Both reports of a table given as (page, target) pairs relative to kTop.
class ReportsTest : public ::testing::Test
{
protected:
    void record(const std::vector<std::pair<QString, QString>> &pairs)
    {
        for (const auto &[page, target] : pairs)
            table.append(BrokenLink{kTop + page, kTop + target});
    }

    // Writes both reports in the window's order and reads them back.
    void writeBoth()
    {
        const qint32 count = qint32(table.size() - 1);
        const LinkFromReportResult fromResult =
            WriteReportByLinkFrom(path(QStringLiteral("links_to.txt")), settings, table, count);
        ASSERT_EQ(fromResult.error, QString());
        repeated = fromResult.numRepeatedInFile;
        ASSERT_EQ(WriteReportByLinkTo(path(QStringLiteral("links_from.txt")), settings, table, count,
                                      repeated),
                  QString());
        byLinkFrom = readLines(QStringLiteral("links_to.txt"));
        byLinkTo = readLines(QStringLiteral("links_from.txt"));
    }

    QString path(const QString &name) const { return dir.path() + QDir::separator() + name; }

    // The file's lines; every line, the last included, must end with CR LF.
    QStringList readLines(const QString &name) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n")));
        QStringList lines = text.split(QStringLiteral("\r\n"));
        lines.removeLast();
        for (const QString &line : lines)
            EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n'));
        return lines;
    }

    static QStringList header(int count)
    {
        return {QStringLiteral("Top folder is"), kTop, QString(),
                count == 1 ? QStringLiteral("There is one broken link:")
                           : QStringLiteral("There are %1 broken links:").arg(count),
                QString()};
    }

    static QString from(const QString &page) { return page + QStringLiteral(" \u2014>"); }
    static QString to(const QString &target) { return target + QStringLiteral(" <\u2014"); }
    static QString item(const QString &path) { return QStringLiteral("     ") + path; }

    QTemporaryDir dir;
    QList<BrokenLink> table{BrokenLink{}};
    ReportSettings settings{kTop, false, false};
    qint64 repeated = -1;
    QStringList byLinkFrom;
    QStringList byLinkTo;
};

} // namespace

TEST_F(ReportsTest, ThreeLinksFromTwoPages)
{
    record({{QStringLiteral("a.htm"), QStringLiteral("img/x.gif")},
            {QStringLiteral("a.htm"), QStringLiteral("b.htm")},
            {QStringLiteral("docs/c.htm"), QStringLiteral("img/x.gif")}});
    writeBoth();
    EXPECT_EQ(byLinkFrom, (header(3) + QStringList{from(QStringLiteral("a.htm")),
                                                  item(QStringLiteral("img/x.gif")),
                                                  item(QStringLiteral("b.htm")),
                                                  from(QStringLiteral("docs/c.htm")),
                                                  item(QStringLiteral("img/x.gif"))}));
    EXPECT_EQ(byLinkTo, (header(3) + QStringList{to(QStringLiteral("b.htm")),
                                                item(QStringLiteral("a.htm")),
                                                to(QStringLiteral("img/x.gif")),
                                                item(QStringLiteral("a.htm")),
                                                item(QStringLiteral("docs/c.htm"))}));
    EXPECT_EQ(repeated, 0);

    // The table now holds the link-to order, relative, with its roles exchanged.
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table[1].strLinkFrom, QStringLiteral("b.htm"));
    EXPECT_EQ(table[1].strLinkTo, QStringLiteral("a.htm"));
    EXPECT_EQ(table[3].strLinkFrom, QStringLiteral("img/x.gif"));
    EXPECT_EQ(table[3].strLinkTo, QStringLiteral("docs/c.htm"));
}

TEST_F(ReportsTest, OneLinkHasNoClosingSentence)
{
    record({{QStringLiteral("index.htm"), QStringLiteral("gone.htm")}});
    writeBoth();
    EXPECT_EQ(byLinkFrom, (header(1) + QStringList{from(QStringLiteral("index.htm")),
                                                  item(QStringLiteral("gone.htm"))}));
    EXPECT_EQ(byLinkTo, (header(1) + QStringList{to(QStringLiteral("gone.htm")),
                                                item(QStringLiteral("index.htm"))}));
}

TEST_F(ReportsTest, StoppedCheckSaysSoFirst)
{
    settings.stopped = true;
    record({{QStringLiteral("index.htm"), QStringLiteral("gone.htm")}});
    writeBoth();
    const QStringList stopped{
        QStringLiteral("Link checking was stopped, so this list is incomplete."), QString()};
    EXPECT_EQ(byLinkFrom.mid(0, 7), stopped + header(1));
    EXPECT_EQ(byLinkTo.mid(0, 7), stopped + header(1));
}

TEST_F(ReportsTest, ALinkRepeatedInAPageIsListedOnceUnlessAskedFor)
{
    const std::vector<std::pair<QString, QString>> twice{
        {QStringLiteral("p.htm"), QStringLiteral("x.htm")},
        {QStringLiteral("p.htm"), QStringLiteral("x.htm")}};
    const QStringList footer{QString(), QStringLiteral("There is one repeated-in-file broken link.")};

    record(twice);
    writeBoth();
    EXPECT_EQ(byLinkFrom, (header(2) + QStringList{from(QStringLiteral("p.htm")),
                                                  item(QStringLiteral("x.htm"))} + footer));
    EXPECT_EQ(byLinkTo, (header(2) + QStringList{to(QStringLiteral("x.htm")),
                                                item(QStringLiteral("p.htm"))} + footer));

    table = {BrokenLink{}};
    settings.showRepeatedLinks = true;
    record(twice);
    writeBoth();
    EXPECT_EQ(byLinkFrom, (header(2) + QStringList{from(QStringLiteral("p.htm")),
                                                  item(QStringLiteral("x.htm")),
                                                  item(QStringLiteral("x.htm"))} + footer));
    EXPECT_EQ(byLinkTo, (header(2) + QStringList{to(QStringLiteral("x.htm")),
                                                item(QStringLiteral("p.htm")),
                                                item(QStringLiteral("p.htm"))} + footer));
}

TEST_F(ReportsTest, ThreeIdenticalLinksCountTwoRepeats)
{
    record({{QStringLiteral("p.htm"), QStringLiteral("x.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("x.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("x.htm")}});
    writeBoth();
    EXPECT_EQ(byLinkFrom.mid(byLinkFrom.size() - 2),
              (QStringList{QString(), QStringLiteral("There are 2 repeated-in-file broken links.")}));
    EXPECT_EQ(byLinkTo.mid(byLinkTo.size() - 2), byLinkFrom.mid(byLinkFrom.size() - 2));
}

TEST_F(ReportsTest, RepeatsCountOnlyTheSamePageAndTarget)
{
    record({{QStringLiteral("p.htm"), QStringLiteral("x.htm")},
            {QStringLiteral("q.htm"), QStringLiteral("x.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("y.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("x.htm")}});
    EXPECT_EQ(CountRepeatedInFileBrokenLinks(table, 4), 1);
    EXPECT_EQ(CountRepeatedInFileBrokenLinks(table, 3), 0);
}

TEST_F(ReportsTest, RepeatCountIsNotCutAt16Bits)
{
    for (int i = 0; i < 40000; ++i)
        record({{QStringLiteral("p.htm"), QStringLiteral("x.htm")}});
    writeBoth();
    EXPECT_EQ(repeated, 39999);
    EXPECT_EQ(byLinkTo.last(), QStringLiteral("There are 39999 repeated-in-file broken links."));
}

TEST_F(ReportsTest, TargetsSortByCharacterCodeAndPrefixFirst)
{
    record({{QStringLiteral("p.htm"), QStringLiteral("a.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("A.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("a")},
            {QStringLiteral("b.htm"), QStringLiteral("a")}});
    writeBoth();
    EXPECT_EQ(byLinkTo, (header(4) + QStringList{to(QStringLiteral("A.htm")),
                                                item(QStringLiteral("p.htm")),
                                                to(QStringLiteral("a")),
                                                item(QStringLiteral("b.htm")),
                                                item(QStringLiteral("p.htm")),
                                                to(QStringLiteral("a.htm")),
                                                item(QStringLiteral("p.htm"))}));
}

TEST_F(ReportsTest, AnEntryContainedInAnEarlierOneOfItsGroupIsNotListed)
{
    record({{QStringLiteral("p.htm"), QStringLiteral("docs/a.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("a.htm")},
            {QStringLiteral("p.htm"), QStringLiteral("img/a.gif.bak")},
            {QStringLiteral("p.htm"), QStringLiteral("img/a.gif")},
            {QStringLiteral("docs/q.htm"), QStringLiteral("gone.htm")},
            {QStringLiteral("q.htm"), QStringLiteral("gone.htm")},
            {QStringLiteral("r.htm"), QStringLiteral("docs/a.htm")}});
    writeBoth();
    EXPECT_EQ(byLinkFrom, (header(7) + QStringList{from(QStringLiteral("p.htm")),
                                                  item(QStringLiteral("docs/a.htm")),
                                                  item(QStringLiteral("img/a.gif.bak")),
                                                  from(QStringLiteral("docs/q.htm")),
                                                  item(QStringLiteral("gone.htm")),
                                                  from(QStringLiteral("q.htm")),
                                                  item(QStringLiteral("gone.htm")),
                                                  from(QStringLiteral("r.htm")),
                                                  item(QStringLiteral("docs/a.htm"))}));
    // In a target's group, q.htm lies inside docs/q.htm listed before it.
    EXPECT_EQ(byLinkTo, (header(7) + QStringList{to(QStringLiteral("a.htm")),
                                                item(QStringLiteral("p.htm")),
                                                to(QStringLiteral("docs/a.htm")),
                                                item(QStringLiteral("p.htm")),
                                                item(QStringLiteral("r.htm")),
                                                to(QStringLiteral("gone.htm")),
                                                item(QStringLiteral("docs/q.htm")),
                                                to(QStringLiteral("img/a.gif")),
                                                item(QStringLiteral("p.htm")),
                                                to(QStringLiteral("img/a.gif.bak")),
                                                item(QStringLiteral("p.htm"))}));
    EXPECT_EQ(repeated, 0);
}

TEST_F(ReportsTest, AReportThatCannotBeWrittenSaysWhy)
{
    record({{QStringLiteral("p.htm"), QStringLiteral("x.htm")}});
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("links_to.txt"))));
    const LinkFromReportResult result =
        WriteReportByLinkFrom(path(QStringLiteral("links_to.txt")), settings, table, 1);
    EXPECT_FALSE(result.error.isEmpty());

    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                          | QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString target = path(QStringLiteral("links_from.txt"));
    const std::string error = RunAsUnprivileged([&] {
        return WriteReportByLinkTo(target, settings, table, 1, 0).toStdString();
    });
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
}

} // namespace quillan::test
