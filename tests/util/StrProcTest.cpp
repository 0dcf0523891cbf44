#include "util/StrProc.h"

#include <gtest/gtest.h>

#include <utility>

namespace quillan::test {
namespace {

TEST(SplitLines, SkipsBlankLinesTrimsAndChangesCaseWhenAsked)
{
    QStringList list{QStringLiteral("old"), QStringLiteral("older"), QStringLiteral("oldest")};
    const QString text = QStringLiteral("a\r\n\r\n b \r\n");
    EXPECT_EQ(SplitLines(text, list, 0, true), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_EQ(SplitLines(text, list, 0, false), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("a"), QStringLiteral(" b ")}));
    // Nothing found leaves one empty element.
    EXPECT_EQ(SplitLines(QStringLiteral(" \r\n\r\n  "), list, 0, true), 0);
    EXPECT_EQ(list, QStringList{QString()});

    EXPECT_EQ(SplitLines(QStringLiteral(" ÀBÇ Š \r\nMixed"), list, -1, true), 2);
    EXPECT_EQ(list, (QStringList{QStringLiteral("àbç š"), QStringLiteral("mixed")}));
    EXPECT_EQ(SplitLines(QStringLiteral("àbç"), list, 1, true), 1);
    EXPECT_EQ(list, QStringList{QStringLiteral("ÀBÇ")});
}

TEST(NumberToWords, WordsUpToNinetyNineThenGroupedDigits)
{
    const std::pair<int, const char *> cases[] = {{0, "No"},         {20, "Twenty"}, {21, "Twenty one"},
                                                  {99, "Ninety nine"}, {100, "100"},   {1234, "1,234"}};
    for (const auto &[number, words] : cases)
        EXPECT_EQ(NumberToWords(number, 0), QString::fromLatin1(words));
}

TEST(JoinListAndTrimTrailingControlChars, JoinARangeAndTrimOnlyTheEnd)
{
    const QStringList list{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(JoinList(list, kCrLf, false), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(JoinList(list, kCrLf, false, 1, -1), QStringLiteral("b\r\nc"));
    EXPECT_EQ(JoinList(list, kCrLf, false, -1, 0), QStringLiteral("a"));
    QString joined = JoinList(list, kCrLf, true) + QStringLiteral("\t \r\n");
    EXPECT_EQ(joined, QStringLiteral("a\r\nb\r\nc\r\n\t \r\n"));
    // Only the end is trimmed, and all of a text made of line breaks goes.
    TrimTrailingControlChars(joined);
    EXPECT_EQ(joined, QStringLiteral("a\r\nb\r\nc"));
    QString breaks = QStringLiteral("\r\n");
    TrimTrailingControlChars(breaks);
    EXPECT_EQ(breaks, QString());
}

} // namespace
} // namespace quillan::test
