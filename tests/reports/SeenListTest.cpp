// The seen list of a report group against the plain joined-text search it
// stands for: entries contained in earlier ones or spanning two of them count,
// letter case matters.

#include "reports/SeenList.h"

#include <QRandomGenerator>
#include <QStringList>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

// Asks the list for each of `entries` in turn and adds those it does not
// hold (every one with `addingRepeats`, as a report showing repeats does),
// against the rule written out: the entry occurs in ":" + first + ":" +
// second ... Returns how many were found; `joined` ends as that text.
int AskAndAdd(SeenList &seen, const QStringList &entries, bool addingRepeats, QString &joined)
{
    int found = 0;
    for (const QString &entry : entries) {
        const bool expected = !joined.isEmpty() && joined.contains(entry);
        if (seen.contains(entry) != expected) {
            ADD_FAILURE() << entry.toStdString() << " expected " << expected;
            return found;
        }
        found += expected ? 1 : 0;
        if (!expected || addingRepeats) {
            seen.add(entry);
            joined += u':' + entry;
            // Its tail now ends the joined text.
            if (!seen.contains(QStringView(entry).sliced(1))) {
                ADD_FAILURE() << "the tail of " << entry.toStdString();
                return found;
            }
        }
    }
    return found;
}

} // namespace

TEST(SeenList, AgreesWithTheJoinedTextOnLongGroups)
{
    const QStringList parts = QStringLiteral("docs/|a|A|.htm|page|0|1|img/|:|\u00e9").split(u'|');
    QRandomGenerator random(7);
    for (int group = 0; group < 4; ++group) {
        QStringList entries;
        for (int i = 0; i < 3000; ++i) {
            QString path;
            for (int count = random.bounded(1, 9); count > 0; --count)
                path += parts[random.bounded(int(parts.size()))];
            entries.append(path);
        }
        SeenList seen;
        QString joined;
        EXPECT_GT(AskAndAdd(seen, entries, group % 2 == 1, joined), 0);
        EXPECT_GT(joined.size(), 4096); // long enough for the index to be used
        seen.clear();
        EXPECT_FALSE(seen.contains(entries.first()));
    }
}

// Entries mostly of one length (a site's generated pages), as the list
// answers them without a search: those of the longest length, longer ones,
// and ones holding ":", which may span two entries of that length.
TEST(SeenList, AgreesWithTheJoinedTextOnEntriesOfOneLength)
{
    const QStringList parts = QStringLiteral("ab|ba|a:|:b|bb").split(u'|');
    QRandomGenerator random(11);
    for (int group = 0; group < 4; ++group) {
        QStringList entries; // the list views them
        for (int i = 0; i < 3000; ++i) {
            QString entry;
            // Now and then one shorter or longer than the rest.
            const int count = i % 50 == 49 ? random.bounded(1, 7) : 3;
            for (int k = 0; k < count; ++k)
                entry += parts[random.bounded(int(parts.size()))];
            entries.append(entry);
        }
        SeenList seen;
        QString joined;
        EXPECT_GT(AskAndAdd(seen, entries, group % 2 == 1, joined), 0);
    }

    // Found only across a ":", at the longest length and at a shorter one,
    // after a thousand others of that length.
    QStringList others;
    for (int i = 0; i < 1000; ++i)
        others.append(QStringLiteral("c%1d").arg(i, 4, 10, QChar(u'0')));
    SeenList seen;
    for (const QString &other : others)
        seen.add(other);
    seen.add(u"ababab"); // literals: they outlive the list
    seen.add(u"bbbbbb");
    EXPECT_TRUE(seen.contains(u"ab:bbb"));
    EXPECT_TRUE(seen.contains(u"b:bb"));
    EXPECT_FALSE(seen.contains(u"ba:bbb"));
    EXPECT_TRUE(seen.contains(u"bbbbbb"));
    EXPECT_TRUE(seen.contains(u"ababab"));
    EXPECT_FALSE(seen.contains(u"bababa"));
    EXPECT_FALSE(seen.contains(u"abababa"));
}

} // namespace quillan::test
