// The order of the reports' sort.

#include "reports/QuickSort.h"

#include <gtest/gtest.h>

namespace quillan::test {

TEST(QuickSort, AscendingByCharacterCodeWithPrefixesFirst)
{
    QStringList list{QStringLiteral("b"),   QStringLiteral("a"),  QStringLiteral("B"),
                     QStringLiteral("a b"), QStringLiteral("ab"), QStringLiteral("a"),
                     QStringLiteral("\u00e0"), QStringLiteral("Z")};
    SortStringArray(true, list, 0, list.size() - 1, 1);
    EXPECT_EQ(list, (QStringList{QStringLiteral("B"), QStringLiteral("Z"), QStringLiteral("a"),
                                 QStringLiteral("a"), QStringLiteral("a b"), QStringLiteral("ab"),
                                 QStringLiteral("b"), QStringLiteral("\u00e0")}));
}

TEST(QuickSort, DescendingIsTheReverseOrder)
{
    QStringList list{QStringLiteral("m"), QStringLiteral("z"), QStringLiteral("a"),
                     QStringLiteral("q")};
    SortStringArray(false, list, 0, 3, 1);
    EXPECT_EQ(list, (QStringList{QStringLiteral("z"), QStringLiteral("q"), QStringLiteral("m"),
                                 QStringLiteral("a")}));
}

TEST(QuickSort, ComparesFromTheStartPositionWithinTheRangeOnly)
{
    QStringList list{QStringLiteral("keep"), QStringLiteral("zzb"), QStringLiteral("yya"),
                     QStringLiteral("xxc"), QStringLiteral("also")};
    SortStringArray(true, list, 1, 3, 3);
    EXPECT_EQ(list, (QStringList{QStringLiteral("keep"), QStringLiteral("yya"), QStringLiteral("zzb"),
                                 QStringLiteral("xxc"), QStringLiteral("also")}));
}

TEST(QuickSort, EqualKeysEndWhereTheExchangesPutThem)
{
    // Compared from the second character all four are equal; the partition
    // and the final reversal leave them in this order.
    QStringList list{QStringLiteral("1a"), QStringLiteral("2a"), QStringLiteral("3a"),
                     QStringLiteral("4a")};
    QuickSortAscending(list, 0, 3, 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("2a"), QStringLiteral("1a"), QStringLiteral("4a"),
                                 QStringLiteral("3a")}));
}

} // namespace quillan::test
