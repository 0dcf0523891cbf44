#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "util/DiskProc.h"

#include <QFile>

#include <gtest/gtest.h>

#include <string>

namespace quillan::test {
namespace {

// A folder nobody but root may open, opened up again afterwards so the tree
// can be removed by any user.
class LockedFolder
{
public:
    LockedFolder(TempTree &tree, const QString &relative) : path_(tree.path(relative))
    {
        tree.folder(relative);
        QFile::setPermissions(path_, QFileDevice::Permissions());
    }
    ~LockedFolder()
    {
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                         | QFileDevice::ExeOwner);
    }
    const QString &path() const { return path_; }

private:
    QString path_;
};

std::string countFilesReport(const QString &folder)
{
    QString error;
    double bytes = -1;
    bool denied = false;
    const qint32 count = CountFiles(folder, QStringLiteral("*.*"), false, error, bytes, denied);
    return std::to_string(count) + "|" + (denied ? "denied" : "read") + "|" + error.toStdString();
}

TEST(CountFiles, CountsRegularFilesHiddenOnesAndLinksToFilesOnly)
{
    TempTree tree;
    tree.file(QStringLiteral("a.htm"));
    tree.file(QStringLiteral(".hidden"));
    tree.folder(QStringLiteral("sub"));
    tree.file(QStringLiteral("sub/deeper.htm"));
    tree.symlink(QStringLiteral("link.htm"), tree.path(QStringLiteral("a.htm")));
    tree.symlink(QStringLiteral("dangling.htm"), tree.path(QStringLiteral("missing.htm")));

    QString error;
    double noSum = 0;
    bool denied = true;
    EXPECT_EQ(CountFiles(tree.root(), QStringLiteral("*.*"), false, error, noSum, denied), 3);
    EXPECT_FALSE(denied);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(noSum, 0);
}

TEST(CountFiles, SumsSizesOnlyWhenAskedWithMinusOne)
{
    TempTree tree;
    tree.file(QStringLiteral("a"), QByteArray(10, 'x'));
    tree.file(QStringLiteral("b"), QByteArray(5, 'x'));
    QString error;
    bool denied = false;

    double bytes = -1;
    EXPECT_EQ(CountFiles(tree.root(), QStringLiteral("*.*"), false, error, bytes, denied), 2);
    EXPECT_EQ(bytes, 15);

    // Stopping at the first file leaves the sum of that one file.
    bytes = -1;
    EXPECT_EQ(CountFiles(tree.root(), QStringLiteral("*.*"), true, error, bytes, denied), 1);
    EXPECT_EQ(bytes, 10);

    // The plain count ignores the stop and touches no sum.
    bytes = 7;
    EXPECT_EQ(CountFiles(tree.root(), QStringLiteral("*.*"), true, error, bytes, denied), 2);
    EXPECT_EQ(bytes, 7);
}

TEST(CountFiles, OtherPatternsMatchIgnoringCase)
{
    TempTree tree;
    tree.file(QStringLiteral("a.htm"), "123");
    tree.file(QStringLiteral("B.HTM"), "12");
    tree.file(QStringLiteral("c.txt"), "1");
    QString error;
    bool denied = false;
    double bytes = 99;
    EXPECT_EQ(CountFiles(tree.root(), QStringLiteral("*.htm"), false, error, bytes, denied), 2);
    EXPECT_EQ(bytes, 0);
}

TEST(CountFiles, OtherErrorsGiveMinusOneWithTheirDescription)
{
    TempTree tree;
    QString reported;
    QString error;
    bool denied = true;
    double bytes = 0;
    EXPECT_EQ(CountFiles(tree.path(QStringLiteral("missing")), QStringLiteral("*.*"), false, error,
                         bytes, denied, [&](const QString &text) { reported = text; }),
              -1);
    EXPECT_FALSE(denied);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(reported, error);
}

TEST(CountFiles, RefusedAccessSetsTheFlagAndLeavesTheErrorAlone)
{
    TempTree tree;
    LockedFolder locked(tree, QStringLiteral("locked"));
    tree.file(QStringLiteral("open/a.htm"));
    const std::string result = RunAsUnprivileged([&] {
        return countFilesReport(locked.path()) + " / "
               + countFilesReport(tree.path(QStringLiteral("open")));
    });
    EXPECT_EQ(result, "0|denied| / 1|read|");
}

TEST(CountSubfolders, CountsHiddenAndLinkedFoldersButNotFiles)
{
    TempTree tree;
    tree.folder(QStringLiteral("a"));
    tree.folder(QStringLiteral(".hidden"));
    tree.folder(QStringLiteral("a/below"));
    tree.file(QStringLiteral("file.htm"));
    tree.symlink(QStringLiteral("linked"), tree.path(QStringLiteral("a")));

    QString error = QStringLiteral("old");
    int number = 5;
    EXPECT_EQ(CountSubfolders(tree.root(), error, number), 3);
    EXPECT_TRUE(error.isEmpty());
    // Any number of trailing separators, or none.
    EXPECT_EQ(CountSubfolders(tree.root() + QStringLiteral("//")), 3);
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("a"))), 1);
}

TEST(CountSubfolders, ErrorsGiveMinusOneWithNumberAndDescription)
{
    TempTree tree;
    QString error;
    int number = 0;
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("missing")), error, number), -1);
    EXPECT_EQ(number, disk_error::kPathNotFound);
    EXPECT_FALSE(error.isEmpty());

    EXPECT_EQ(CountSubfolders(QString(), error, number), -1);

    tree.file(QStringLiteral("plain.htm"));
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("plain.htm")), error, number), -1);

    LockedFolder locked(tree, QStringLiteral("locked"));
    const std::string refused = RunAsUnprivileged([&] {
        QString text;
        int code = 0;
        const qint32 count = CountSubfolders(locked.path(), text, code);
        return std::to_string(count) + "|" + std::to_string(code) + "|" + text.toStdString();
    });
    EXPECT_EQ(refused, "-1|70|Permission denied");
}

TEST(IsFolderEmpty, OnlyAFolderWithNothingInItOrUnreadableIsEmpty)
{
    TempTree tree;
    tree.folder(QStringLiteral("nothing"));
    tree.file(QStringLiteral("fileonly/a.htm"));
    tree.folder(QStringLiteral("folderonly/sub"));
    bool denied = true;
    EXPECT_TRUE(IsFolderEmpty(tree.path(QStringLiteral("nothing")), denied));
    EXPECT_FALSE(denied);
    EXPECT_FALSE(IsFolderEmpty(tree.path(QStringLiteral("fileonly")), denied));
    EXPECT_FALSE(IsFolderEmpty(tree.path(QStringLiteral("folderonly")), denied));
    EXPECT_TRUE(IsFolderEmpty(tree.path(QStringLiteral("missing")), denied));
    EXPECT_FALSE(denied);

    LockedFolder locked(tree, QStringLiteral("locked"));
    const std::string result = RunAsUnprivileged([&] {
        bool flag = false;
        const bool empty = IsFolderEmpty(locked.path(), flag);
        return std::string(empty ? "empty" : "full") + "|" + (flag ? "denied" : "read");
    });
    EXPECT_EQ(result, "empty|denied");
}

struct TreeSumResult {
    qint32 files = 0;
    int limit = 0;
    double bytes = 0;
    qint32 error = 0;
};

TreeSumResult sumTree(const QString &folder, int limit)
{
    TreeSumResult r;
    r.limit = limit;
    SumFolderTree(true, folder, QStringLiteral("*.*"), r.files, r.limit, true, r.bytes, r.error);
    return r;
}

TEST(SumFolderTree, CountsAndSumsEveryFileBeneath)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), QByteArray(3, 'x'));
    tree.file(QStringLiteral("top/sub/b"), QByteArray(4, 'x'));
    tree.file(QStringLiteral("top/sub/deeper/c"), QByteArray(5, 'x'));
    const TreeSumResult r = sumTree(tree.path(QStringLiteral("top")), 0);
    EXPECT_EQ(r.files, 3);
    EXPECT_EQ(r.bytes, 12);
    EXPECT_EQ(r.limit, 0);
    EXPECT_EQ(r.error, 0);
}

TEST(SumFolderTree, StopsAtTheFileCap)
{
    TempTree tree;
    for (const char *name : {"top/a", "top/b", "top/sub/c", "top/sub/d", "top/sub/e"})
        tree.file(QString::fromLatin1(name), "12");
    const TreeSumResult r = sumTree(tree.path(QStringLiteral("top")), 4);
    EXPECT_EQ(r.limit, -2);
    EXPECT_EQ(r.files, 4);
    EXPECT_EQ(r.bytes, 8);
}

TEST(SumFolderTree, TopCallStartsCountersAfreshOthersAddOn)
{
    TempTree tree;
    tree.file(QStringLiteral("a"), "12");
    qint32 files = 10;
    int limit = 0;
    double bytes = 100;
    qint32 error = 3;
    SumFolderTree(false, tree.root(), QStringLiteral("*.*"), files, limit, true, bytes, error);
    EXPECT_EQ(files, 11);
    EXPECT_EQ(bytes, 102);
    SumFolderTree(true, tree.root(), QStringLiteral("*.*"), files, limit, true, bytes, error);
    EXPECT_EQ(files, 1);
    EXPECT_EQ(bytes, 2);
    EXPECT_EQ(error, 0);
}

TEST(SumFolderTree, SkipsARefusedBranchAndGoesOn)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), "1");
    LockedFolder locked(tree, QStringLiteral("top/m-locked"));
    tree.file(QStringLiteral("top/z/b"), "22");
    const std::string result = RunAsUnprivileged([&] {
        const TreeSumResult r = sumTree(tree.path(QStringLiteral("top")), 200);
        return std::to_string(r.files) + "|" + std::to_string(int(r.bytes)) + "|"
               + std::to_string(r.error) + "|" + std::to_string(r.limit);
    });
    EXPECT_EQ(result, "2|3|0|200");
}

TEST(SumFolderTree, OtherErrorsStopTheWalkWithTheirNumber)
{
    TempTree tree;
    const TreeSumResult r = sumTree(tree.path(QStringLiteral("missing")), 200);
    EXPECT_EQ(r.error, disk_error::kPathNotFound);
    EXPECT_EQ(r.files, 0);
}

TEST(SumFolderTree, ALinkBackUpTheTreeIsNotWalkedRoundAndRound)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), "1");
    tree.file(QStringLiteral("top/sub/b"), "1");
    tree.symlink(QStringLiteral("top/sub/loop"), tree.path(QStringLiteral("top")));
    const TreeSumResult r = sumTree(tree.path(QStringLiteral("top")), 0);
    EXPECT_EQ(r.files, 2);
    EXPECT_EQ(r.error, 0);
}

TEST(FormatByteSize, ChoosesBytesKilobytesOrMegabytes)
{
    EXPECT_EQ(FormatByteSize(-1, 2), QString());
    EXPECT_EQ(FormatByteSize(0, 2), QStringLiteral("0 bytes"));
    EXPECT_EQ(FormatByteSize(1, 2), QStringLiteral("1 bytes"));
    EXPECT_EQ(FormatByteSize(1023, 2), QStringLiteral("1023 bytes"));
    EXPECT_EQ(FormatByteSize(1024, 2), QStringLiteral("1.00 Kb"));
    EXPECT_EQ(FormatByteSize(1536, 2), QStringLiteral("1.50 Kb"));
    EXPECT_EQ(FormatByteSize(1048575, 2), QStringLiteral("1,024.00 Kb"));
    EXPECT_EQ(FormatByteSize(1048576, 2), QStringLiteral("1.00 Mb"));
    EXPECT_EQ(FormatByteSize(1536.0 * 1048576, 2), QStringLiteral("1,536.00 Mb"));
    EXPECT_EQ(FormatByteSize(1536, 0), QStringLiteral("2 Kb"));
}

TEST(FormatByteSizeGb, GoesOnToGigabytes)
{
    EXPECT_EQ(FormatByteSizeGb(-5, 2), QStringLiteral("-5 bytes"));
    EXPECT_EQ(FormatByteSizeGb(0, 2), QStringLiteral("0 bytes"));
    EXPECT_EQ(FormatByteSizeGb(1023, 2), QStringLiteral("1023 bytes"));
    EXPECT_EQ(FormatByteSizeGb(1536, 2), QStringLiteral("1.50 Kb"));
    EXPECT_EQ(FormatByteSizeGb(1048576, 2), QStringLiteral("1.00 Mb"));
    EXPECT_EQ(FormatByteSizeGb(1073741823, 2), QStringLiteral("1,024.00 Mb"));
    EXPECT_EQ(FormatByteSizeGb(1073741824, 2), QStringLiteral("1.00 Gb"));
    EXPECT_EQ(FormatByteSizeGb(1024.0 * 1073741824, 2), QStringLiteral("1,024.00 Gb"));
}

TEST(PlainNumberText, WholeNumbersWithoutGroupingOrExponent)
{
    EXPECT_EQ(PlainNumberText(0), QStringLiteral("0"));
    EXPECT_EQ(PlainNumberText(1536), QStringLiteral("1536"));
    EXPECT_EQ(PlainNumberText(10000000000.0), QStringLiteral("10000000000"));
    EXPECT_EQ(PlainNumberText(0.5), QStringLiteral("0.5"));
}

} // namespace
} // namespace quillan::test
