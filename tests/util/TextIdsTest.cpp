#include "util/TextIds.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace quillan::test {
namespace {

// Paths alike but for a character or two, of a few lengths, each a prefix of
// the next ("d1/a", "d1/a.htm"...), as a report's targets are.
std::vector<QString> AlikePaths(int count)
{
    std::vector<QString> paths;
    for (int i = 0; i < count; ++i) {
        const QString stem = QStringLiteral("d%1/missing%2").arg(i % 7).arg(i / 3);
        paths.push_back(i % 3 == 0 ? stem : i % 3 == 1 ? stem + QStringLiteral(".htm") : stem + QStringLiteral(".htm "));
    }
    paths.emplace_back(); // the empty text is a text too
    return paths;
}

TEST(TextIds, NumbersEachTextByItsFirstMeetingThroughGrowth)
{
    const std::vector<QString> paths = AlikePaths(20000);
    // Each path met several times, in a shuffled order, by copies at other
    // addresses: the text counts, not where it stands.
    std::vector<QString> met;
    for (int round = 0; round < 3; ++round)
        for (const QString &path : paths)
            met.emplace_back(path.constData(), path.size());
    std::shuffle(met.begin(), met.end(), std::mt19937(7));

    TextIds ids; // from its fewest cells, so it grows many times
    std::map<QString, qint32> expected;
    for (const QString &text : met) {
        const auto [it, isNew] = expected.emplace(text, qint32(expected.size()));
        const TextIds::Met got = ids.idOf(text);
        ASSERT_EQ(got.isNew, isNew) << text.toStdString();
        ASSERT_EQ(got.id, it->second) << text.toStdString();
    }
    EXPECT_EQ(ids.size(), qsizetype(expected.size()));
    for (const auto &[text, id] : expected)
        EXPECT_EQ(ids.find(text), id) << text.toStdString();
    for (const QString &absent : {QStringLiteral("d0/missing0.ht"), QStringLiteral("d7/missing0.htm"),
                                  QStringLiteral("d0/missing0.htm  "), QStringLiteral(" ")})
        EXPECT_EQ(ids.find(absent), -1) << absent.toStdString();
}

TEST(TextIds, ClearForgetsEveryTextWhateverRoomItHad)
{
    const std::vector<QString> many = AlikePaths(40000); // more than clear() keeps room for
    const std::vector<QString> few = AlikePaths(30);
    TextIds ids(qsizetype(few.size()));
    for (const std::vector<QString> *texts : {&few, &many, &few, &few}) {
        ids.clear();
        EXPECT_EQ(ids.size(), 0);
        for (const QString &text : *texts)
            EXPECT_EQ(ids.find(text), -1);
        for (size_t i = 0; i < texts->size(); ++i)
            ASSERT_EQ(ids.idOf((*texts)[i]).id, qint32(i));
        for (size_t i = 0; i < texts->size(); ++i)
            ASSERT_EQ(ids.find((*texts)[i]), qint32(i));
    }
}

} // namespace
} // namespace quillan::test
