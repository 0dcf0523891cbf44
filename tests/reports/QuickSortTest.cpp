// The order of the reports' sort.

#include "reports/QuickSort.h"

#include "engine/Printers.h"

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

QStringList list(const QString &items) { return items.split(u'|'); }

} // namespace

TEST(QuickSort, SortsOnlyTheRangeByCharacterCodeWithPrefixesFirstEitherWay)
{
    QStringList items = list(QStringLiteral("keep|b|a|B|a b|ab|a|\u00e0|Z|also"));
    SortStringArray(true, items, 1, 8, 1);
    EXPECT_EQ(items, list(QStringLiteral("keep|B|Z|a|a|a b|ab|b|\u00e0|also")));
    SortStringArray(false, items, 1, 8, 1);
    EXPECT_EQ(items, list(QStringLiteral("keep|\u00e0|b|ab|a b|a|a|Z|B|also")));
}

TEST(QuickSort, ComparesFromTheStartPosition)
{
    QStringList items = list(QStringLiteral("zzb|yya|xxc"));
    SortStringArray(true, items, 0, 2, 3);
    EXPECT_EQ(items, list(QStringLiteral("yya|zzb|xxc")));
}

} // namespace quillan::test
