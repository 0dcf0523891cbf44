// The memo of link texts a thread keeps for one folder: a text it calls
// known has the answer given for that very text, whatever texts came
// between, and a folder of more texts than the memo has slots makes it grow
// without losing the texts it holds.

#include "scan/LinkTextMemo.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

QStringList TextsOfOneFolder(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts.append(QStringLiteral("../../std/item%1.html").arg(i));
    return texts;
}

// Asks for every text in turn, giving a new one its number as the answer;
// returns how many were known. Fails at a known text with another's answer.
int AskAll(LinkTextMemo<int> &memo, const QStringList &texts)
{
    int known = 0;
    for (int i = 0; i < texts.size(); ++i) {
        bool isKnown = false;
        int &answer = memo.Find(texts[i].utf16(), texts[i].size(), isKnown);
        if (isKnown) {
            ++known;
            EXPECT_EQ(answer, i) << texts[i].toStdString();
        } else {
            answer = i;
        }
    }
    return known;
}

} // namespace

TEST(LinkTextMemo, AFolderOfManyTextsGrowsTheMemoAndKeepsItsAnswers)
{
    using Memo = LinkTextMemo<int>;
    Memo memo;
    memo.Use(1, u"site/std/");
    const QStringList texts = TextsOfOneFolder(3000);
    EXPECT_EQ(AskAll(memo, texts), 0);
    EXPECT_GT(memo.Slots(), Memo::kSlots);
    EXPECT_LE(memo.Slots(), Memo::kMostSlots);
    // Asked again and again (the pages of the folder), more are known each
    // time, each with its own answer, until most are.
    int known = 0;
    for (int pass = 0; pass < 5; ++pass) {
        const int before = known;
        known = AskAll(memo, texts);
        EXPECT_GT(known, before) << pass;
    }
    EXPECT_GT(known, texts.size() / 2);
    EXPECT_EQ(memo.Slots(), Memo::kMostSlots);

    // Another folder, or another checker's, knows none of them.
    memo.Use(1, u"site/core/");
    EXPECT_EQ(AskAll(memo, texts.mid(0, 100)), 0);
    memo.Use(2, u"site/core/");
    EXPECT_EQ(AskAll(memo, texts.mid(0, 100)), 0);
}

TEST(LinkTextMemo, AFolderOfFewTextsKnowsThemAllInTheFirstSlots)
{
    using Memo = LinkTextMemo<int>;
    Memo memo;
    memo.Use(1, u"site/a/");
    const QStringList texts = TextsOfOneFolder(100);
    AskAll(memo, texts);
    EXPECT_EQ(memo.Slots(), Memo::kSlots);
    // A text that took another's slot is known from then on, and the text
    // it displaced is not: none is ever known with another's answer.
    const int known = AskAll(memo, texts);
    EXPECT_GT(known, 80);
    EXPECT_GE(AskAll(memo, texts), known);
}

TEST(LinkTextMemo, BytesOfUtf8AreAnotherTextThanTheSameBytesOfUtf16)
{
    LinkTextMemo<int> memo;
    memo.Use(1, u"site/");
    bool known = false;
    memo.Find("-N", 2, known) = 1;
    ASSERT_FALSE(known);
    const char16_t *const han = u"\u4E2D"; // its bytes: "-N"
    int &other = memo.Find(han, 1, known);
    EXPECT_FALSE(known);
    other = 2;
    EXPECT_EQ(memo.Find(han, 1, known), 2);
    EXPECT_TRUE(known);
    EXPECT_EQ(memo.Find("-N", 2, known), 1);
    EXPECT_TRUE(known);
}

} // namespace quillan::test
