#include "settings/ExclusionLists.h"
#include "util/StrProc.h"

#include "engine/Printers.h"

#include <QDir>

#include <gtest/gtest.h>

namespace quillan::test {

TEST(ExclusionLists, TidySortsIgnoringCaseAndTurnsSlashesInPaths)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(TidyExcludedFilepathsText(QStringLiteral("Temp, /old/ ,Archive")),
              sep + QStringLiteral("old") + sep + QStringLiteral(", Archive, Temp"));
    EXPECT_EQ(TidyExcludedLinksText(QStringLiteral("b.htm,A.htm, /x/")),
              QStringLiteral("/x/, A.htm, b.htm"));
    // Duplicates stay, in the order the sort's exchanges leave equal keys.
    EXPECT_EQ(TidyExcludedLinksText(QStringLiteral("x,X")), QStringLiteral("x, X"));
    EXPECT_EQ(TidyExcludedLinksText(QStringLiteral("X,x")), QStringLiteral("X, x"));
}

TEST(ExclusionLists, EmptyEntriesMoveToTheFront)
{
    EXPECT_EQ(TidyExcludedLinksText(QStringLiteral("b,  ,a")), QStringLiteral(", a, b"));
    // One comma at either end adds nothing.
    EXPECT_EQ(TidyExcludedLinksText(QStringLiteral(",b,a,")), QStringLiteral("a, b"));
    EXPECT_EQ(TidyExcludedLinksText(QString()), QString());
}

TEST(ExclusionLists, ConversionCountsEntriesAndKeepsStaleOnesUncounted)
{
    QStringList list{QString()};
    EXPECT_EQ(ConvertExclusionText(QStringLiteral("a, b ,c"), list), 3);
    EXPECT_EQ(list.mid(0, 3), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(ConvertExclusionText(QStringLiteral("z"), list), 1);
    EXPECT_EQ(list[0], QStringLiteral("z"));
    EXPECT_EQ(ConvertExclusionText(QString(), list), 0);
    // A tidied text's leading empty entry goes with the leading comma ...
    EXPECT_EQ(ConvertExclusionText(QStringLiteral(", a, b"), list), 2);
    // ... but an untidied one (as loaded from a settings file) is an entry.
    EXPECT_EQ(ConvertExclusionText(QStringLiteral("a,,b"), list), 3);
    EXPECT_EQ(list[1], QString());
}

TEST(SplitIntoArray, HonoursStartLimitMinimumAndSpaceRuns)
{
    QStringList list;
    EXPECT_EQ(SplitIntoArray(QStringLiteral("xx,a,b"), QStringLiteral(","), 4, list, true, 0, 0), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    list.clear();
    EXPECT_EQ(SplitIntoArray(QStringLiteral("a,b,c"), QStringLiteral(","), 1, list, true, 2, 0), 2);
    list.clear();
    EXPECT_EQ(SplitIntoArray(QStringLiteral("a,,bb"), QStringLiteral(","), 1, list, true, 0, 2), 1);
    EXPECT_EQ(list, QStringList{QStringLiteral("bb")});
    list.clear();
    EXPECT_EQ(SplitIntoArray(QStringLiteral("one   two three"), QStringLiteral(" "), 1, list, false, 0, 0), 3);
    EXPECT_EQ(list[1], QStringLiteral("two"));
    list = QStringList{QStringLiteral("kept")};
    EXPECT_EQ(SplitIntoArray(QStringLiteral("ab"), QStringLiteral(","), 3, list, true, 0, 0), 0);
    EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
}

TEST(SortListAscending, OrdersByLowerCasedCodeUnits)
{
    QStringList list{QStringLiteral("b"), QStringLiteral("Ä"), QStringLiteral("a"), QStringLiteral("\\"),
                     QStringLiteral("B"), QStringLiteral("ab")};
    SortListAscending(list, 0, list.size() - 1);
    // Traced by hand through the exchanges: the equal keys b and B swap places.
    EXPECT_EQ(list, (QStringList{QStringLiteral("\\"), QStringLiteral("a"), QStringLiteral("ab"),
                                 QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("Ä")}));
    // Only the given range moves.
    QStringList part{QStringLiteral("z"), QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")};
    SortListAscending(part, 1, 2);
    EXPECT_EQ(part, (QStringList{QStringLiteral("z"), QStringLiteral("b"), QStringLiteral("c"),
                                 QStringLiteral("a")}));
}

} // namespace quillan::test
