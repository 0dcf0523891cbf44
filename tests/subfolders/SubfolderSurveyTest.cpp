#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "subfolders/SubfolderSurvey.h"

#include <QFile>

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

// Records what the survey shows and cancels when told to.
class RecordingProgress : public SurveyProgress
{
public:
    void ShowProgress(const QString &text) override { texts.append(text); }
    void ProcessEvents() override { ++eventCalls; }
    bool CancelRequested() const override { return cancelAfter >= 0 && eventCalls >= cancelAfter; }

    QStringList texts;
    int eventCalls = 0;
    int cancelAfter = -1;
};

struct Survey {
    SurveyResult result;
    SubfolderSurvey lists;
    QString topFolder;
    RecordingProgress progress;

    QStringList entries() const { return lists.strEntries.mid(0, lists.intNumSubfolders); }
};

void survey(Survey &s, const QString &topFolder, SurveyOptions options)
{
    s.topFolder = topFolder;
    s.result = SurveySubfolders(s.topFolder, options, s.lists, s.progress);
}

constexpr SurveyOptions kWithoutSizes{true, true};
constexpr SurveyOptions kWithSizes{true, false};

TEST(SurveySubfolders, EntryLinesForNoneOneAndManyFilesAndSubfolders)
{
    TempTree tree;
    tree.folder(QStringLiteral("empty"));
    tree.file(QStringLiteral("one/a.htm"));
    tree.folder(QStringLiteral("one/sub"));
    for (const char *name : {"many/a", "many/.b", "many/s1/x", "many/s2/y"})
        tree.file(QString::fromLatin1(name));
    for (int i = 0; i < 1234; ++i)
        tree.file(QStringLiteral("big/f%1").arg(i));
    tree.file(QStringLiteral("top-level-file.htm"));

    Survey s;
    survey(s, tree.root(), kWithoutSizes);
    ASSERT_EQ(s.result.outcome, SurveyOutcome::Completed);
    EXPECT_EQ(s.entries(), (QStringList{QStringLiteral("big {1,234 files and no subfolders}"),
                                        QStringLiteral("empty {no files and no subfolders}"),
                                        QStringLiteral("many {2 files and 2 subfolders}"),
                                        QStringLiteral("one {1 file and 1 subfolder}")}));
    EXPECT_EQ(s.lists.blnEmpty.mid(0, 4), (QList<bool>{false, true, false, false}));
    EXPECT_EQ(s.lists.dblBytes.mid(0, 4), (QList<double>{0, 0, 0, 0}));
    // One element more than used.
    EXPECT_GE(s.lists.strEntries.size(), 5);
    EXPECT_GE(s.lists.intChecked.size(), 5);
}

TEST(SurveySubfolders, AnUnreadableSubfolderShowsTheRefusalAndCountsAsEmpty)
{
    TempTree tree;
    tree.file(QStringLiteral("open/a.htm"));
    tree.file(QStringLiteral("private/secret.htm"));
    QFile::setPermissions(tree.path(QStringLiteral("private")), QFileDevice::Permissions());
    const std::string result = RunAsUnprivileged([&] {
        Survey s;
        survey(s, tree.root(), kWithoutSizes);
        std::string out;
        for (int i = 0; i < s.lists.intNumSubfolders; ++i)
            out += s.lists.strEntries[i].toStdString() + (s.lists.blnEmpty[i] ? " empty;" : " full;");
        return out;
    });
    QFile::setPermissions(tree.path(QStringLiteral("private")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result,
              "open {1 file and no subfolders} full;private {Permission denied} empty;");
}

TEST(SurveySubfolders, RecycleBinsInAnyCaseAreLeftOutWhenAsked)
{
    TempTree tree;
    tree.file(QStringLiteral("$Recycle.Bin/a"));
    tree.file(QStringLiteral("$RECYCLE.BIN/b"));
    tree.file(QStringLiteral("RECYCLER/c"));
    tree.file(QStringLiteral("docs/d"));

    Survey s;
    survey(s, tree.root(), kWithoutSizes);
    EXPECT_EQ(s.lists.intNumSubfolders, 2);
    EXPECT_EQ(s.entries(), (QStringList{QStringLiteral("docs {1 file and no subfolders}"),
                                        QStringLiteral("RECYCLER {1 file and no subfolders}")}));
    // Left-out folders show no progress either.
    EXPECT_EQ(s.progress.texts.size(), 3);

    Survey all;
    survey(all, tree.root(), SurveyOptions{false, true});
    EXPECT_EQ(all.lists.intNumSubfolders, 4);
}

TEST(SurveySubfolders, SortsWholeLinesIgnoringCase)
{
    TempTree tree;
    for (const char *name : {"abc/x", "abc def/x", "ABD/x", "Zeta/x", "alpha/x"})
        tree.file(QString::fromLatin1(name));
    Survey s;
    survey(s, tree.root(), kWithoutSizes);
    EXPECT_EQ(s.entries(), (QStringList{QStringLiteral("abc def {1 file and no subfolders}"),
                                        QStringLiteral("abc {1 file and no subfolders}"),
                                        QStringLiteral("ABD {1 file and no subfolders}"),
                                        QStringLiteral("alpha {1 file and no subfolders}"),
                                        QStringLiteral("Zeta {1 file and no subfolders}")}));
}

TEST(SurveySubfolders, SizesFollowTheirEntriesThroughTheSortEvenPastABraceInAName)
{
    TempTree tree;
    // Name order puts "B" first; the sort ignoring case puts "a" first.
    tree.file(QStringLiteral("B/f"), QByteArray(2, 'x'));
    tree.file(QStringLiteral("a/f"), QByteArray(5, 'x'));
    tree.file(QStringLiteral("a/g"), QByteArray(1531, 'x'));
    tree.file(QStringLiteral("c}d/f"), QByteArray(7, 'x'));
    Survey s;
    survey(s, tree.root(), kWithSizes);
    EXPECT_EQ(s.entries(), (QStringList{QStringLiteral("a {2 files and no subfolders, 1.50 Kb}"),
                                        QStringLiteral("B {1 file and no subfolders, 2 bytes}"),
                                        QStringLiteral("c}d {1 file and no subfolders, 7 bytes}")}));
    EXPECT_EQ(s.lists.dblBytes.mid(0, 3), (QList<double>{1536, 2, 7}));
}

TEST(SurveySubfolders, SizePartsForEmptyCappedAndNestedSubfolders)
{
    TempTree tree;
    tree.folder(QStringLiteral("empty"));
    for (int i = 0; i < 201; ++i)
        tree.file(QStringLiteral("capped/sub/f%1").arg(i, 3, 10, QLatin1Char('0')), "1");
    tree.file(QStringLiteral("nested/a"), "12");
    tree.file(QStringLiteral("nested/sub/b"), "345");
    Survey s;
    survey(s, tree.root(), kWithSizes);
    EXPECT_EQ(s.entries(),
              (QStringList{QStringLiteral("capped {no files and 1 subfolder, over 200 bytes}"),
                           QStringLiteral("empty {no files and no subfolders}"),
                           QStringLiteral("nested {1 file and 1 subfolder, 5 bytes}")}));
    EXPECT_EQ(s.lists.dblBytes.mid(0, 3), (QList<double>{200, 0, 5}));
}

TEST(SurveySubfolders, ShowsADotPerSubfolderAndStopsWhenCancelled)
{
    TempTree tree;
    for (const char *name : {"a", "b", "c"})
        tree.folder(QString::fromLatin1(name));
    Survey s;
    survey(s, tree.root(), kWithoutSizes);
    EXPECT_EQ(s.progress.texts.mid(0, 3),
              (QStringList{QStringLiteral("Reading disk . . ."), QStringLiteral("Reading disk . . . ."),
                           QStringLiteral("Reading disk . . . . .")}));
    EXPECT_EQ(s.progress.eventCalls, 3);

    Survey cancelled;
    cancelled.progress.cancelAfter = 1;
    survey(cancelled, tree.root(), kWithoutSizes);
    EXPECT_EQ(cancelled.result.outcome, SurveyOutcome::Cancelled);
    EXPECT_EQ(cancelled.progress.texts.size(), 2);
}

TEST(SurveySubfolders, EndsEarlyWithoutSubfoldersOrWhenTheTopFolderCannotBeRead)
{
    TempTree tree;
    tree.file(QStringLiteral("index.htm"));
    Survey s;
    QString top = tree.root();
    top.chop(1);
    survey(s, top, kWithoutSizes);
    EXPECT_EQ(s.result.outcome, SurveyOutcome::NoSubfolders);
    EXPECT_EQ(s.topFolder, tree.root()); // one trailing separator added
    EXPECT_EQ(s.lists.intNumSubfolders, 0);
    EXPECT_EQ(s.progress.texts, QStringList{QStringLiteral("Reading disk . . .")});

    Survey missing;
    survey(missing, tree.path(QStringLiteral("missing")), kWithoutSizes);
    EXPECT_EQ(missing.result.outcome, SurveyOutcome::TopFolderUnreadable);
    EXPECT_FALSE(missing.result.errorDescription.isEmpty());
}

} // namespace
} // namespace quillan::test
