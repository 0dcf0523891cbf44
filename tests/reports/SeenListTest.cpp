// The seen list of a report group against the plain joined-text search it
// stands for, on groups long enough to use its index.

#include "reports/SeenList.h"

#include <QRandomGenerator>
#include <QStringList>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

// The rule written out: the entry occurs in ":" + first + ":" + second ...
bool occursInJoined(const QString &joined, const QString &entry)
{
    return !joined.isEmpty() && joined.contains(entry);
}

QString randomPath(QRandomGenerator &random)
{
    static const QStringList parts{QStringLiteral("docs/"), QStringLiteral("a"),
                                   QStringLiteral(".htm"), QStringLiteral("page"),
                                   QStringLiteral("0"),     QStringLiteral("1"),
                                   QStringLiteral("img/"),  QStringLiteral(":"),
                                   QStringLiteral("\u00e9")};
    QString path;
    const int count = random.bounded(1, 9);
    for (int i = 0; i < count; ++i)
        path += parts[random.bounded(int(parts.size()))];
    return path;
}

} // namespace

TEST(SeenList, AgreesWithTheJoinedTextOnLongGroups)
{
    QRandomGenerator random(7);
    for (int group = 0; group < 4; ++group) {
        QStringList entries;
        for (int i = 0; i < 3000; ++i)
            entries.append(randomPath(random));
        SeenList seen;
        QString joined;
        int found = 0;
        for (const QString &entry : entries) {
            const bool expected = occursInJoined(joined, entry);
            ASSERT_EQ(seen.contains(entry), expected) << entry.toStdString();
            found += expected ? 1 : 0;
            if (!expected) {
                seen.add(entry);
                joined += u':' + entry;
            }
        }
        EXPECT_GT(found, 0);
        EXPECT_GT(joined.size(), 4096); // long enough for the index to be used
        seen.clear();
        EXPECT_FALSE(seen.contains(entries.first()));
    }
}

TEST(SeenList, ContainedAndSpanningEntriesCount)
{
    SeenList seen;
    const QString first = QStringLiteral("docs/a.htm");
    const QString second = QStringLiteral("b:c.htm");
    EXPECT_FALSE(seen.contains(first));
    seen.add(first);
    seen.add(second);
    EXPECT_TRUE(seen.contains(QStringLiteral("a.htm")));
    EXPECT_TRUE(seen.contains(QStringLiteral("htm:b")));
    EXPECT_FALSE(seen.contains(QStringLiteral("A.htm")));
}

TEST(SeenList, ManyDistinctEntriesAreAllListed)
{
    // A target linked from thousands of pages: no page is inside another.
    SeenList seen;
    QStringList pages;
    for (int i = 0; i < 20000; ++i)
        pages.append(QStringLiteral("d%1/page%2.htm").arg(i / 200, 3, 10, QLatin1Char('0')).arg(i, 5, 10, QLatin1Char('0')));
    for (const QString &page : pages) {
        ASSERT_FALSE(seen.contains(page)) << page.toStdString();
        seen.add(page);
    }
    EXPECT_TRUE(seen.contains(pages[12345]));
}

} // namespace quillan::test
