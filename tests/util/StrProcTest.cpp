#include "util/StrProc.h"

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

TEST(SplitLines, SkipsBlankLinesAndTrimsWhenAsked)
{
    QStringList list{QStringLiteral("old"), QStringLiteral("older"), QStringLiteral("oldest")};
    const QString text = QStringLiteral("a\r\n\r\n b \r\n");
    EXPECT_EQ(SplitLines(text, list, 0, true), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(SplitLines(text, list, 0, false), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QStringLiteral(" b ")}));

    // Nothing found leaves one empty element.
    EXPECT_EQ(SplitLines(QString(), list, 0, true), 0);
    EXPECT_EQ(list, QStringList{QString()});
    EXPECT_EQ(SplitLines(QStringLiteral(" \r\n\r\n  "), list, 0, true), 0);
}

TEST(SplitLines, ChangesCaseOfAccentedLettersToo)
{
    QStringList list;
    EXPECT_EQ(SplitLines(QStringLiteral(" ÀBÇ Š \r\nMixed"), list, -1, true), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("àbç š"), QStringLiteral("mixed")}));
    EXPECT_EQ(SplitLines(QStringLiteral("àbç"), list, 1, true), 1);
    EXPECT_EQ(list, QStringList{QStringLiteral("ÀBÇ")});
}

TEST(JoinList, JoinsTheRangeWithOrWithoutTheLastSeparator)
{
    const QStringList list{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(JoinList(list, kCrLf, false), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(JoinList(list, kCrLf, true), QStringLiteral("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(JoinList(list, kCrLf, false, 1, -1), QStringLiteral("b\r\nc"));
    EXPECT_EQ(JoinList(list, kCrLf, false, -1, 0), QStringLiteral("a"));
}

TEST(NumberToWords, WordsUpToNinetyNineThenGroupedDigits)
{
    EXPECT_EQ(NumberToWords(0, 0), QStringLiteral("No"));
    EXPECT_EQ(NumberToWords(13, 0), QStringLiteral("Thirteen"));
    EXPECT_EQ(NumberToWords(20, 0), QStringLiteral("Twenty"));
    EXPECT_EQ(NumberToWords(21, 0), QStringLiteral("Twenty one"));
    EXPECT_EQ(NumberToWords(30, 0), QStringLiteral("Thirty"));
    EXPECT_EQ(NumberToWords(99, 0), QStringLiteral("Ninety nine"));
    EXPECT_EQ(NumberToWords(100, 0), QStringLiteral("100"));
    EXPECT_EQ(NumberToWords(1234, 0), QStringLiteral("1,234"));
}

TEST(TrimTrailingControlChars, RemovesLineBreaksTabsAndSpacesAtTheEndOnly)
{
    QString text = QStringLiteral(" a b\r\n\t \r\n");
    TrimTrailingControlChars(text);
    EXPECT_EQ(text, QStringLiteral(" a b"));
    QString breaks = QStringLiteral("\r\n");
    TrimTrailingControlChars(breaks);
    EXPECT_EQ(breaks, QString());
}

} // namespace
} // namespace quillan::test
