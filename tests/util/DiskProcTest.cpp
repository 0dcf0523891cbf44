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

const QString kEvery = QStringLiteral("*.*");

TEST(CountFiles, CountsRegularFilesAndSumsTheirSizesWhenAsked)
{
    TempTree tree;
    tree.file(QStringLiteral("a.htm"), QByteArray(10, 'x'));
    tree.file(QStringLiteral(".hidden"), QByteArray(5, 'x'));
    tree.file(QStringLiteral("sub/deeper.htm"));
    tree.symlink(QStringLiteral("link.htm"), tree.path(QStringLiteral("a.htm")));
    tree.symlink(QStringLiteral("dangling.htm"), tree.path(QStringLiteral("missing.htm")));
    QString error;
    bool denied = true;

    double bytes = 7; // anything but -1 asks for no sum
    EXPECT_EQ(CountFiles(tree.root(), kEvery, true, error, bytes, denied), 3);
    EXPECT_FALSE(denied);
    EXPECT_EQ(bytes, 7);

    bytes = -1;
    EXPECT_EQ(CountFiles(tree.root(), kEvery, false, error, bytes, denied), 3);
    EXPECT_EQ(bytes, 25);

    // Stopping at the first file (in name order) leaves that file's size.
    bytes = -1;
    EXPECT_EQ(CountFiles(tree.root(), kEvery, true, error, bytes, denied), 1);
    EXPECT_EQ(bytes, 5);
    EXPECT_TRUE(error.isEmpty());
}

TEST(CountFiles, RefusedAccessIsAFlagOtherErrorsADescription)
{
    TempTree tree;
    QString reported;
    QString error;
    bool denied = true;
    double bytes = 0;
    EXPECT_EQ(CountFiles(tree.path(QStringLiteral("missing")), kEvery, false, error, bytes, denied,
                         [&](const QString &text) { reported = text; }),
              -1);
    EXPECT_FALSE(denied);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(reported, error);

    LockedFolder locked(tree, QStringLiteral("locked"));
    const std::string result = RunAsUnprivileged([&] {
        QString text;
        double sum = -1;
        bool flag = false;
        const qint32 count = CountFiles(locked.path(), kEvery, false, text, sum, flag);
        return std::to_string(count) + (flag ? "|denied|" : "|read|") + text.toStdString();
    });
    EXPECT_EQ(result, "0|denied|");
}

TEST(CountSubfolders, CountsFoldersOrGivesMinusOneWithTheError)
{
    TempTree tree;
    tree.folder(QStringLiteral("a/below"));
    tree.folder(QStringLiteral(".hidden"));
    tree.file(QStringLiteral("file.htm"));
    tree.symlink(QStringLiteral("linked"), tree.path(QStringLiteral("a")));
    QString error = QStringLiteral("old");
    int number = 5;
    EXPECT_EQ(CountSubfolders(tree.root() + QStringLiteral("//"), error, number), 3);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("a"))), 1);

    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("missing")), error, number), -1);
    EXPECT_EQ(number, disk_error::kPathNotFound);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(CountSubfolders(QString()), -1);
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("file.htm"))), -1);

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

    LockedFolder locked(tree, QStringLiteral("locked"));
    const std::string result = RunAsUnprivileged([&] {
        bool flag = false;
        const bool empty = IsFolderEmpty(locked.path(), flag);
        return std::string(empty ? "empty" : "full") + (flag ? "|denied" : "|read");
    });
    EXPECT_EQ(result, "empty|denied");
}

struct TreeSum {
    qint32 files = 0;
    int limit = 0;
    double bytes = 0;
    qint32 error = 0;
};

TreeSum sumTree(const QString &folder, int limit)
{
    TreeSum r;
    r.limit = limit;
    SumFolderTree(true, folder, kEvery, r.files, r.limit, true, r.bytes, r.error);
    return r;
}

TEST(SumFolderTree, SumsEverythingBeneathUnlessTheFileCapIsReached)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), QByteArray(3, 'x'));
    tree.file(QStringLiteral("top/b"), QByteArray(3, 'x'));
    tree.file(QStringLiteral("top/sub/c"), QByteArray(4, 'x'));
    tree.file(QStringLiteral("top/sub/deeper/d"), QByteArray(5, 'x'));
    const TreeSum whole = sumTree(tree.path(QStringLiteral("top")), 0);
    EXPECT_EQ(whole.files, 4);
    EXPECT_EQ(whole.bytes, 15);
    EXPECT_EQ(whole.limit, 0);
    EXPECT_EQ(whole.error, 0);

    const TreeSum capped = sumTree(tree.path(QStringLiteral("top")), 3);
    EXPECT_EQ(capped.limit, -2);
    EXPECT_EQ(capped.files, 3);
    EXPECT_EQ(capped.bytes, 10);

    EXPECT_EQ(sumTree(tree.path(QStringLiteral("missing")), 200).error, disk_error::kPathNotFound);
}

TEST(SumFolderTree, SkipsARefusedBranchAndGoesOn)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), "1");
    LockedFolder locked(tree, QStringLiteral("top/m-locked"));
    tree.file(QStringLiteral("top/z/b"), "22");
    const std::string result = RunAsUnprivileged([&] {
        const TreeSum r = sumTree(tree.path(QStringLiteral("top")), 200);
        return std::to_string(r.files) + "|" + std::to_string(int(r.bytes)) + "|"
               + std::to_string(r.error) + "|" + std::to_string(r.limit);
    });
    EXPECT_EQ(result, "2|3|0|200");
}

TEST(SumFolderTree, ALinkBackUpTheTreeIsNotWalkedRoundAndRound)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), "1");
    tree.file(QStringLiteral("top/sub/b"), "1");
    tree.symlink(QStringLiteral("top/sub/loop"), tree.path(QStringLiteral("top")));
    const TreeSum r = sumTree(tree.path(QStringLiteral("top")), 0);
    EXPECT_EQ(r.files, 2);
    EXPECT_EQ(r.error, 0);
}

TEST(FormatByteSize, ChoosesBytesKilobytesOrMegabytes)
{
    EXPECT_EQ(FormatByteSize(-1, 2), QString());
    EXPECT_EQ(FormatByteSize(0, 2), QStringLiteral("0 bytes"));
    EXPECT_EQ(FormatByteSize(1023, 2), QStringLiteral("1023 bytes"));
    EXPECT_EQ(FormatByteSize(1536, 2), QStringLiteral("1.50 Kb"));
    EXPECT_EQ(FormatByteSize(1048575, 2), QStringLiteral("1,024.00 Kb"));
    EXPECT_EQ(FormatByteSize(1048576, 2), QStringLiteral("1.00 Mb"));
    EXPECT_EQ(FormatByteSize(1536.0 * 1048576, 2), QStringLiteral("1,536.00 Mb"));
}

TEST(FormatByteSizeGb, GoesOnToGigabytes)
{
    EXPECT_EQ(FormatByteSizeGb(-5, 2), QStringLiteral("-5 bytes"));
    EXPECT_EQ(FormatByteSizeGb(0, 2), QStringLiteral("0 bytes"));
    EXPECT_EQ(FormatByteSizeGb(1536, 2), QStringLiteral("1.50 Kb"));
    EXPECT_EQ(FormatByteSizeGb(1073741823, 2), QStringLiteral("1,024.00 Mb"));
    EXPECT_EQ(FormatByteSizeGb(1073741824, 2), QStringLiteral("1.00 Gb"));
}

} // namespace
} // namespace quillan::test
