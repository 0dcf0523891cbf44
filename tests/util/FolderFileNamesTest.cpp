#include "util/FileProc.h"
#include "util/FolderFileNames.h"
#include "util/NativeName.h"

#include "engine/TempTree.h"
#include "engine/Unprivileged.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>

namespace quillan::test {
namespace {

// Every kind of name a folder can hold, in one folder ("d/") and at the
// tree's top, and the paths asked of it.
QStringList MakeEveryKindOfName(TempTree &tree)
{
    QStringList relatives;
    for (const QString &at : {QStringLiteral("d/"), QString()}) {
        tree.file(at + QStringLiteral("page.htm"));
        tree.file(at + QStringLiteral("Other.HTM"));
        tree.file(at + QStringLiteral("page.htm.bak")); // a listed name that begins with another
        tree.folder(at + QStringLiteral("sub"));
        tree.file(at + QStringLiteral("sub/inner.htm"));
        tree.symlink(at + QStringLiteral("to-page.htm"), tree.path(at + QStringLiteral("page.htm")));
        tree.symlink(at + QStringLiteral("to-sub"), tree.path(at + QStringLiteral("sub")));
        tree.symlink(at + QStringLiteral("dangling.htm"), tree.path(at + QStringLiteral("nowhere.htm")));
        ::mkfifo(QFile::encodeName(tree.path(at + QStringLiteral("pipe"))).constData(), 0644);
        relatives << at + QStringLiteral("page.htm") << at + QStringLiteral("PAGE.HTM")
                  << at + QStringLiteral("Other.HTM") << at + QStringLiteral("other.htm")
                  << at + QStringLiteral("sub") << at + QStringLiteral("sub/") << at + QStringLiteral("SUB")
                  << at + QStringLiteral("to-page.htm") << at + QStringLiteral("to-sub")
                  << at + QStringLiteral("dangling.htm") << at + QStringLiteral("nowhere.htm")
                  << at + QStringLiteral("pipe") << at + QStringLiteral("page.htm/")
                  << at + QStringLiteral("nosuch/../page.htm") << at + QStringLiteral("./sub/../page.htm")
                  << at + QStringLiteral("page.htm") + QChar(0) + QStringLiteral("x")
                  << at + QStringLiteral("sub/inner.htm") << at + QStringLiteral(" sub ")
                  // Names that begin listed ones, or go on after them.
                  << at + QStringLiteral("page.ht") << at + QStringLiteral("page.html")
                  << at + QStringLiteral("page.htm.ba") << at + QStringLiteral("page.htm.bak")
                  // In folders that are not there, or are files.
                  << at + QStringLiteral("nosuch/page.htm") << at + QStringLiteral("nosuch/sub/inner.htm")
                  << at + QStringLiteral("nosuch/sub") << at + QStringLiteral("page.htm/inner.htm")
                  << at + QStringLiteral("dangling.htm/inner.htm");
    }
    tree.byteNamedFile("d/caf\xE9.htm");
    relatives << QStringLiteral("d/") + DecodeNativeName("caf\xE9.htm")
              << QStringLiteral("d/") + DisplayName(DecodeNativeName("caf\xE9.htm"));
    return relatives;
}

// "file folder" answers of every path, each asked `times` times over.
std::vector<std::string> Answers(FolderFileNames &names, const TempTree &tree, const QStringList &relatives,
                                 int times)
{
    std::vector<std::string> answers;
    for (int round = 0; round < times; ++round) {
        for (const QString &relative : relatives) {
            const QString path = tree.path(relative);
            answers.push_back(DisplayName(relative).toStdString() + (names.FileExists(path) ? " file" : " -")
                              + (names.FolderExists(path) ? " folder" : " -"));
        }
    }
    return answers;
}

TEST(FolderFileNames, AnswersAsTheDiskBeforeAndAfterEachFolderIsListed)
{
    TempTree tree;
    const QStringList relatives = MakeEveryKindOfName(tree);
    std::vector<std::string> expected;
    for (const QString &relative : relatives) {
        const QString path = tree.path(relative);
        expected.push_back(DisplayName(relative).toStdString() + (FileExists(path) ? " file" : " -")
                           + (FolderExists(path) ? " folder" : " -"));
    }
    // Asked often enough, every folder is listed after the first few answers.
    constexpr int kRounds = FolderFileNames::kAsksBeforeListing + 2;
    std::vector<std::string> repeated;
    for (int round = 0; round < kRounds; ++round)
        repeated.insert(repeated.end(), expected.begin(), expected.end());

    FolderFileNames names;
    EXPECT_EQ(Answers(names, tree, relatives, kRounds), repeated);
    // Spot checks that the disk was read as meant.
    EXPECT_TRUE(names.FileExists(tree.path(QStringLiteral("d/page.htm"))));
    EXPECT_FALSE(names.FileExists(tree.path(QStringLiteral("d/PAGE.HTM"))));
    EXPECT_TRUE(names.FileExists(tree.path(QStringLiteral("d/to-page.htm"))));
    EXPECT_TRUE(names.FolderExists(tree.path(QStringLiteral("d/to-sub"))));
    EXPECT_FALSE(names.FileExists(tree.path(QStringLiteral("d/pipe"))));
}

TEST(FolderFileNames, ThreadsAskingAtOnceGetTheDisksAnswers)
{
    TempTree tree;
    const QStringList relatives = MakeEveryKindOfName(tree);
    FolderFileNames reference;
    const std::vector<std::string> expected = Answers(reference, tree, relatives, 1);

    FolderFileNames names;
    std::vector<std::vector<std::string>> answers(4);
    std::vector<std::thread> threads;
    threads.reserve(answers.size());
    for (auto &mine : answers)
        threads.emplace_back([&] { mine = Answers(names, tree, relatives, 1); });
    for (std::thread &thread : threads)
        thread.join();
    for (const auto &mine : answers)
        EXPECT_EQ(mine, expected);
}

TEST(FolderFileNames, AFolderOfThousandsOfNamesKnowsEachAndNoOther)
{
    // Names of many lengths, alike but for a byte at their start, middle or
    // end, in folders whose paths differ only in their last byte or only in
    // their first; each folder's names are its own.
    TempTree tree;
    QStringList relatives;
    int first = 0;
    for (const char *folder : {"site/a/", "site/b/", "one/the-same-end/", "two/the-same-end/"}) {
        first += 1000;
        for (int i = first; i < first + 800; ++i) {
            const QString name = QStringLiteral("%1%2.htm").arg(QString(i % 13, QChar(u'x'))).arg(i);
            tree.file(QString::fromLatin1(folder) + name);
            relatives << QString::fromLatin1(folder) + name;
            if (i % 50 == 0) {
                relatives << QString::fromLatin1(folder) + name.chopped(1) << QString::fromLatin1(folder) + name + u'l'
                          << QString::fromLatin1(folder) + u'y' + name.mid(1) << QString::fromLatin1(folder) + name.toUpper()
                          << QString::fromLatin1(folder) + QStringLiteral("%1%2.htm").arg(QString(i % 13, u'x')).arg(i + 1000);
            }
        }
    }
    relatives << QStringLiteral("site/a/") << QStringLiteral("site/c/0.htm") << QStringLiteral("site/a/.htm");
    std::vector<std::string> expected;
    for (const QString &relative : relatives)
        expected.push_back(DisplayName(relative).toStdString() + (FileExists(tree.path(relative)) ? " file" : " -"));
    FolderFileNames names;
    for (int round = 0; round < 2; ++round) { // the folders listed in the first round
        SCOPED_TRACE(round);
        std::vector<std::string> answers;
        for (const QString &relative : relatives)
            answers.push_back(DisplayName(relative).toStdString() + (names.FileExists(tree.path(relative)) ? " file" : " -"));
        EXPECT_EQ(answers, expected);
    }
}

TEST(FolderFileNames, ANewSetOfListingsReadsTheFolderAgain)
{
    // Each check makes its own: one made after the last, likely at the same
    // address, must not take the last one's listing of a folder that has
    // changed since.
    TempTree tree;
    tree.file(QStringLiteral("d/a.htm"));
    const QString added = tree.path(QStringLiteral("d/added.htm"));
    for (int check = 0; check < 3; ++check) {
        SCOPED_TRACE(check);
        auto names = std::make_unique<FolderFileNames>();
        for (int ask = 0; ask < FolderFileNames::kAsksBeforeListing + 2; ++ask) {
            EXPECT_TRUE(names->FileExists(tree.path(QStringLiteral("d/a.htm"))));
            EXPECT_EQ(names->FileExists(added), check > 0);
        }
        names.reset();
        tree.file(QStringLiteral("d/added.htm"));
    }
}

TEST(FolderFileNames, AFolderNotThereHoldsNothingWhileOneThatCannotBeListedIsAskedOfTheDisk)
{
    TempTree tree;
    tree.file(QStringLiteral("open/page.htm"));
    const QString gone = tree.path(QStringLiteral("gone/page.htm"));
    constexpr int kAsks = FolderFileNames::kAsksBeforeListing + 2;
    FolderFileNames names;
    for (int ask = 0; ask < kAsks; ++ask) {
        EXPECT_FALSE(names.FileExists(gone));
        EXPECT_FALSE(names.FolderExists(gone));
    }
    // Once found missing, the folder is known to hold nothing, as a folder
    // listed is known to hold what it held (the disk is not asked again).
    tree.file(QStringLiteral("gone/page.htm"));
    EXPECT_FALSE(names.FileExists(gone));
    EXPECT_TRUE(FolderFileNames().FileExists(gone));

    // A folder one may enter but not list holds the files it holds.
    const QString shut = tree.path(QStringLiteral("open"));
    QFile::setPermissions(shut, QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    const std::string result = RunAsUnprivileged([&] {
        FolderFileNames unprivileged;
        std::string answers;
        for (int ask = 0; ask < kAsks; ++ask) {
            answers += unprivileged.FileExists(tree.path(QStringLiteral("open/page.htm"))) ? "f" : "-";
            answers += unprivileged.FileExists(tree.path(QStringLiteral("open/other.htm"))) ? "f" : "-";
        }
        return answers;
    });
    QFile::setPermissions(shut, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result, "f-f-f-f-f-f-");
}

TEST(FolderFileNames, AFolderThatCanBeListedButNotEnteredHoldsNoFile)
{
    TempTree tree;
    for (int i = 0; i < FolderFileNames::kAsksBeforeListing + 2; ++i)
        tree.file(QStringLiteral("shut/page%1.htm").arg(i));
    tree.folder(QStringLiteral("shut/sub"));
    const QString shut = tree.path(QStringLiteral("shut"));
    QFile::setPermissions(shut, QFileDevice::ReadOwner | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    const std::string result = RunAsUnprivileged([&] {
        FolderFileNames names;
        std::string answers;
        for (int i = 0; i < FolderFileNames::kAsksBeforeListing + 2; ++i) {
            const QString page = tree.path(QStringLiteral("shut/page%1.htm").arg(i));
            answers += names.FileExists(page) == FileExists(page) ? "=" : "!";
            answers += names.FileExists(page) ? "f" : "-";
        }
        answers += names.FolderExists(tree.path(QStringLiteral("shut/sub"))) ? "d" : "-";
        return answers;
    });
    QFile::setPermissions(shut, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result, "=-=-=-=-=-=--");
}

} // namespace
} // namespace quillan::test
