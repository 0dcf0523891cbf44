// The answers kept for the paths a walk asks about: each path keeps its own
// answer however alike the paths, and its own copy of the path's text; a
// site's paths spread over every part (so threads asking at once seldom wait
// for the same lock, and no part fills up long before the others), and a
// full part starts afresh.

#include "scan/SharedAnswers.h"

#include <gtest/gtest.h>

#include <array>
#include <thread>
#include <vector>

namespace quillan::test {

namespace {

// A generated site's pages and pictures: the same length, the same
// extension, names told apart by a digit or two.
QString Target(const char *pattern, int i)
{
    return QString::fromLatin1(pattern).arg(i % 40, 2, 10, QLatin1Char('0')).arg(i, 5, 10, QLatin1Char('0'));
}

constexpr std::array<const char *, 3> kPatterns{"/site/f%1/p%2.html", "/site/f%1/img%2.png",
                                               R"(C:\site\f%1\p%2.htm)"};

} // namespace

TEST(SharedAnswers, TargetsOfOneLengthAndExtensionSpreadOverEveryPart)
{
    using Answers = SharedAnswers<bool>;
    constexpr int kTargets = 3200;
    for (const char *pattern : kPatterns) {
        std::array<int, Answers::kParts> inPart{};
        for (int i = 0; i < kTargets; ++i)
            ++inPart[Answers::PartOf(HashOfPath(Target(pattern, i)))];
        const int even = kTargets / int(Answers::kParts);
        for (std::size_t part = 0; part < Answers::kParts; ++part) {
            EXPECT_GT(inPart[part], even / 2) << pattern << " part " << part;
            EXPECT_LT(inPart[part], even * 2) << pattern << " part " << part;
        }
    }
}

TEST(SharedAnswers, EachPathKeepsItsOwnAnswer)
{
    SharedAnswers<QString> answers;
    QString answer;
    EXPECT_FALSE(answers.Find(u"/site/a.htm", HashOfPath(u"/site/a.htm"), answer));

    // Paths alike but for their last unit, their first, their length, or a
    // unit past a whole word; the empty path; kept as parts grow.
    std::vector<QString> paths{QString(), QStringLiteral("/"), QStringLiteral("/site/a.htm"),
                               QStringLiteral("/site/a.htm/"), QStringLiteral("/site/a.htmx")};
    for (int i = 0; i < 2000; ++i)
        paths.push_back(Target(kPatterns[size_t(i) % kPatterns.size()], i));
    for (std::size_t i = 0; i < paths.size(); ++i)
        answers.Keep(paths[i], HashOfPath(paths[i]), QString::number(i));
    for (std::size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i].toStdString());
        ASSERT_TRUE(answers.Find(paths[i], HashOfPath(paths[i]), answer));
        EXPECT_EQ(answer, QString::number(i));
    }
    EXPECT_FALSE(answers.Find(u"/site/a.ht", HashOfPath(u"/site/a.ht"), answer));
    EXPECT_FALSE(answers.Find(u"/Site/a.htm", HashOfPath(u"/Site/a.htm"), answer));

    // An answer kept already stays: another thread was given it.
    answers.Keep(paths[2], HashOfPath(paths[2]), QStringLiteral("later"));
    ASSERT_TRUE(answers.Find(paths[2], HashOfPath(paths[2]), answer));
    EXPECT_EQ(answer, QStringLiteral("2"));

    // A path found under another's hash is not taken for it.
    EXPECT_FALSE(answers.Find(paths[3], HashOfPath(paths[2]), answer));
}

// The asker writes the next link's target over its text: the answers keep
// a copy of their own, and leave the asker's text its own to write over.
TEST(SharedAnswers, KeepsItsOwnCopyOfEachPathHoweverLong)
{
    SharedAnswers<bool> answers;
    QString asked;
    std::vector<QString> kept;
    // More text than a block of the part's texts holds, and paths longer
    // than a block, among short ones.
    for (int i = 0; i < 3000; ++i) {
        const QString path = i % 500 == 7 ? QString(20000 + i, QChar(u'a' + i % 26)) + QString::number(i)
                                           : Target(kPatterns[i % 3], i);
        asked.resize(0);
        asked.append(path);
        const QChar *room = asked.constData();
        answers.Keep(asked, HashOfPath(asked), i % 2 == 0);
        ASSERT_TRUE(asked.isDetached());
        asked.fill(u'x');
        EXPECT_EQ(asked.constData(), room); // written over in place
        kept.push_back(path);
    }
    answers.Keep(QString(), HashOfPath(QString()), true);
    for (size_t i = 0; i < kept.size(); ++i) {
        bool answer = false;
        ASSERT_TRUE(answers.Find(kept[i], HashOfPath(kept[i]), answer)) << i;
        EXPECT_EQ(answer, i % 2 == 0) << i;
    }
    bool answer = false;
    EXPECT_TRUE(answers.Find(QStringView(), HashOfPath(QStringView()), answer));
    EXPECT_TRUE(answer);
}

TEST(SharedAnswers, AFullPartStartsAfresh)
{
    using Answers = SharedAnswers<bool>;
    Answers answers;
    // Paths of one part only, until it holds all it keeps.
    std::vector<QString> inPart;
    for (int i = 0; qsizetype(inPart.size()) < Answers::kMostInAPart + 1; ++i) {
        const QString path = Target(kPatterns[0], i);
        if (Answers::PartOf(HashOfPath(path)) == 0)
            inPart.push_back(path);
    }
    const QString other = QStringLiteral("/elsewhere") + inPart.front();
    ASSERT_NE(Answers::PartOf(HashOfPath(other)), 0U);
    answers.Keep(other, HashOfPath(other), true);
    for (qsizetype i = 0; i < Answers::kMostInAPart; ++i)
        answers.Keep(inPart[size_t(i)], HashOfPath(inPart[size_t(i)]), true);
    bool answer = false;
    EXPECT_TRUE(answers.Find(inPart.front(), HashOfPath(inPart.front()), answer));
    answers.Keep(inPart.back(), HashOfPath(inPart.back()), true);
    EXPECT_FALSE(answers.Find(inPart.front(), HashOfPath(inPart.front()), answer));
    EXPECT_TRUE(answers.Find(inPart.back(), HashOfPath(inPart.back()), answer));
    EXPECT_TRUE(answers.Find(other, HashOfPath(other), answer)); // the other parts keep theirs
}

TEST(SharedAnswers, ThreadsKeepingAndFindingAtOnceGetEveryAnswer)
{
    SharedAnswers<QString> answers;
    constexpr int kPaths = 3000;
    std::vector<std::thread> threads;
    threads.reserve(4);
    std::vector<int> wrong(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPaths; ++i) {
                const QString path = Target(kPatterns[0], (i * 7 + t * 1000) % kPaths);
                const quint64 hash = HashOfPath(path);
                QString answer;
                if (answers.Find(path, hash, answer) && answer != path + u'!')
                    ++wrong[size_t(t)];
                answers.Keep(path, hash, path + u'!');
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(wrong[size_t(t)], 0);
    QString answer;
    for (int i = 0; i < kPaths; ++i) {
        const QString path = Target(kPatterns[0], i);
        ASSERT_TRUE(answers.Find(path, HashOfPath(path), answer));
        EXPECT_EQ(answer, path + u'!');
    }
}

} // namespace quillan::test
