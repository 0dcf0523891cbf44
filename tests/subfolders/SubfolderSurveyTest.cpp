#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "subfolders/SubfolderSurvey.h"

#include <QFile>

#include <gtest/gtest.h>

namespace quillan::test {
namespace {

// Runs a survey, recording what it shows and cancelling when told to.
struct Survey : SurveyProgress {
    Survey(QString top, SurveyOptions options, int cancelAfter = -1)
        : topFolder(std::move(top)), cancelAfter(cancelAfter)
    {
        result = SurveySubfolders(topFolder, options, lists, *this);
    }
    void ShowProgress(const QString &text) override { texts.append(text); }
    void ProcessEvents() override { ++eventCalls; }
    bool CancelRequested() const override { return cancelAfter >= 0 && eventCalls >= cancelAfter; }
    QStringList entries() const { return lists.strEntries.mid(0, lists.intNumSubfolders); }

    QString topFolder;
    int cancelAfter;
    QStringList texts;
    int eventCalls = 0;
    SubfolderSurvey lists;
    SurveyResult result;
};

constexpr SurveyOptions kWithoutSizes{true, true};
constexpr SurveyOptions kWithSizes{true, false};

QString oneFile(const char *name, const char *size = "")
{
    return QString::fromUtf8(name) + QStringLiteral(" {1 file and no subfolders") + QString::fromUtf8(size)
           + u'}';
}

TEST(SurveySubfolders, EntryLinesSortedIgnoringCaseWithoutRecycleBins)
{
    TempTree tree;
    tree.folder(QStringLiteral("empty"));
    tree.file(QStringLiteral("one/a.htm"));
    tree.folder(QStringLiteral("one/sub"));
    for (const char *name : {"many/a", "many/.b", "many/s1/x", "many/s2/y", "abc def/x", "abc/x", "ABD/x",
                             "$Recycle.Bin/a", "$RECYCLE.BIN/b", "RECYCLER/c", "top-level-file.htm"})
        tree.file(QString::fromUtf8(name));
    for (int i = 0; i < 1234; ++i)
        tree.file(QStringLiteral("big/f%1").arg(i));

    const Survey s(tree.root(), kWithoutSizes);
    ASSERT_EQ(s.result.outcome, SurveyOutcome::Completed);
    EXPECT_EQ(s.entries(), (QStringList{oneFile("abc def"), oneFile("abc"), oneFile("ABD"),
                                        QStringLiteral("big {1,234 files and no subfolders}"),
                                        QStringLiteral("empty {no files and no subfolders}"),
                                        QStringLiteral("many {2 files and 2 subfolders}"),
                                        QStringLiteral("one {1 file and 1 subfolder}"),
                                        oneFile("RECYCLER")}));
    // Emptiness follows its entry through the sort.
    EXPECT_EQ(s.lists.blnEmpty.mid(0, 8),
              (QList<bool>{false, false, false, false, true, false, false, false}));
    EXPECT_GT(s.lists.strEntries.size(), 8);
    // One more dot per subfolder surveyed; left-out folders show none.
    EXPECT_EQ(s.texts.size(), 9);
    EXPECT_EQ(s.texts.mid(0, 2),
              (QStringList{QStringLiteral("Reading disk . . ."), QStringLiteral("Reading disk . . . .")}));
    EXPECT_EQ(s.eventCalls, 8);

    EXPECT_EQ(Survey(tree.root(), SurveyOptions{false, true}).lists.intNumSubfolders, 10);
}

TEST(SurveySubfolders, AnUnreadableSubfolderShowsTheRefusalAndCountsAsEmpty)
{
    TempTree tree;
    tree.file(QStringLiteral("open/a.htm"));
    tree.file(QStringLiteral("private/secret.htm"));
    QFile::setPermissions(tree.path(QStringLiteral("private")), QFileDevice::Permissions());
    const std::string result = RunAsUnprivileged([&] {
        const Survey s(tree.root(), kWithoutSizes);
        std::string out;
        for (int i = 0; i < s.lists.intNumSubfolders; ++i)
            out += s.lists.strEntries[i].toStdString() + (s.lists.blnEmpty[i] ? " empty;" : " full;");
        return out;
    });
    QFile::setPermissions(tree.path(QStringLiteral("private")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result, "open {1 file and no subfolders} full;private {Permission denied} empty;");
}

TEST(SurveySubfolders, SizesFollowTheirEntriesThroughTheSortEvenPastABraceOrAnOddByteInAName)
{
    TempTree tree;
    // Name order puts "B" first; the sort ignoring case puts "a" first.
    tree.file(QStringLiteral("B/f"), QByteArray(2, 'x'));
    tree.file(QStringLiteral("a/f"), QByteArray(5, 'x'));
    tree.file(QStringLiteral("a/g"), QByteArray(1531, 'x'));
    tree.file(QStringLiteral("c}d/f"), QByteArray(7, 'x'));
    tree.folder(QStringLiteral("empty"));
    for (int i = 0; i < 201; ++i)
        tree.file(QStringLiteral("capped/sub/f%1").arg(i, 3, 10, QLatin1Char('0')), "1");
    tree.file(QStringLiteral("nested/a"), "12");
    tree.file(QStringLiteral("nested/sub/b"), "345");
    // Latin-1 names on a UTF-8 system are counted and shown.
    tree.byteNamedFile("d\xE9p\xF4t/f\xE9", "123");
    tree.byteNamedFile("d\xE9p\xF4t/sub\xE9/g\xE9", "4567");

    const Survey s(tree.root(), kWithSizes);
    EXPECT_EQ(s.entries(), (QStringList{QStringLiteral("a {2 files and no subfolders, 1.50 Kb}"),
                                        oneFile("B", ", 2 bytes"),
                                        QStringLiteral("capped {no files and 1 subfolder, over 200 bytes}"),
                                        oneFile("c}d", ", 7 bytes"),
                                        QStringLiteral("d\uFFFDp\uFFFDt {1 file and 1 subfolder, 7 bytes}"),
                                        QStringLiteral("empty {no files and no subfolders}"),
                                        QStringLiteral("nested {1 file and 1 subfolder, 5 bytes}")}));
    EXPECT_EQ(s.lists.dblBytes.mid(0, 7), (QList<double>{1536, 2, 200, 7, 7, 0, 5}));
}

TEST(SurveySubfolders, EndsEarlyWhenCancelledWithoutSubfoldersOrOnAnUnreadableTop)
{
    TempTree tree;
    tree.file(QStringLiteral("index.htm"));
    QString top = tree.root();
    top.chop(1);
    const Survey none(top, kWithoutSizes);
    EXPECT_EQ(none.result.outcome, SurveyOutcome::NoSubfolders);
    EXPECT_EQ(none.topFolder, tree.root()); // one trailing separator added
    EXPECT_EQ(none.texts, QStringList{QStringLiteral("Reading disk . . .")});

    const Survey missing(tree.path(QStringLiteral("missing")), kWithoutSizes);
    EXPECT_EQ(missing.result.outcome, SurveyOutcome::TopFolderUnreadable);
    EXPECT_FALSE(missing.result.errorDescription.isEmpty());

    for (const char *name : {"a", "b", "c"})
        tree.folder(QString::fromLatin1(name));
    const Survey cancelled(tree.root(), kWithoutSizes, 1);
    EXPECT_EQ(cancelled.result.outcome, SurveyOutcome::Cancelled);
    EXPECT_EQ(cancelled.texts.size(), 2);
}

} // namespace
} // namespace quillan::test
