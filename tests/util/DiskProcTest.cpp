#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "util/DiskProc.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace quillan::test {
namespace {

const QString kEvery = QStringLiteral("*.*");

// Files, bytes, error number and what is left of the file cap, as one text.
std::string sumTree(const QString &folder, int limit)
{
    qint32 files = 0;
    double bytes = 0;
    qint32 error = 0;
    SumFolderTree(true, folder, kEvery, files, limit, true, bytes, error);
    std::ostringstream out;
    out << files << ' ' << bytes << ' ' << error << ' ' << limit;
    return out.str();
}

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
    EXPECT_EQ(bytes, 7);
    bytes = -1;
    EXPECT_EQ(CountFiles(tree.root(), kEvery, false, error, bytes, denied), 3);
    EXPECT_EQ(bytes, 25);
    // Stopping at the first file (in name order) leaves that file's size.
    bytes = -1;
    EXPECT_EQ(CountFiles(tree.root(), kEvery, true, error, bytes, denied), 1);
    EXPECT_EQ(bytes, 5);
    EXPECT_TRUE(error.isEmpty());

    QString reported;
    EXPECT_EQ(CountFiles(tree.path(QStringLiteral("missing")), kEvery, false, error, bytes, denied,
                         [&](const QString &text) { reported = text; }),
              -1);
    EXPECT_FALSE(denied);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(reported, error);
}

TEST(CountSubfolders, CountsFoldersOrGivesMinusOneWithTheErrorAndTellsEmptyOnes)
{
    TempTree tree;
    tree.folder(QStringLiteral("a/below"));
    tree.folder(QStringLiteral(".hidden"));
    tree.file(QStringLiteral("f/file.htm"));
    tree.symlink(QStringLiteral("linked"), tree.path(QStringLiteral("a")));
    QString error = QStringLiteral("old");
    int number = 5;
    EXPECT_EQ(CountSubfolders(tree.root() + QStringLiteral("//"), error, number), 4);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("a"))), 1);
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("missing")), error, number), -1);
    EXPECT_EQ(number, disk_error::kPathNotFound);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(CountSubfolders(QString()), -1);
    EXPECT_EQ(CountSubfolders(tree.path(QStringLiteral("f/file.htm"))), -1);

    bool denied = true;
    EXPECT_TRUE(IsFolderEmpty(tree.path(QStringLiteral(".hidden")), denied));
    EXPECT_FALSE(denied);
    EXPECT_FALSE(IsFolderEmpty(tree.path(QStringLiteral("f")), denied));
    EXPECT_FALSE(IsFolderEmpty(tree.path(QStringLiteral("a")), denied));
    EXPECT_TRUE(IsFolderEmpty(tree.path(QStringLiteral("missing")), denied));
}

TEST(SumFolderTree, SumsEverythingBeneathUnlessCappedAndRefusedAccessIsToldApart)
{
    TempTree tree;
    tree.file(QStringLiteral("top/a"), QByteArray(3, 'x'));
    tree.file(QStringLiteral("top/b"), QByteArray(3, 'x'));
    tree.folder(QStringLiteral("top/m-locked"));
    tree.file(QStringLiteral("top/sub/c"), QByteArray(4, 'x'));
    tree.file(QStringLiteral("top/sub/deeper/d"), QByteArray(5, 'x'));
    // A link back up the tree is not walked round and round.
    tree.symlink(QStringLiteral("top/sub/loop"), tree.path(QStringLiteral("top")));
    EXPECT_EQ(sumTree(tree.path(QStringLiteral("top")), 0), "4 15 0 0");
    EXPECT_EQ(sumTree(tree.path(QStringLiteral("top")), 3), "3 10 0 -2");
    EXPECT_EQ(sumTree(tree.path(QStringLiteral("missing")), 200), "0 0 76 200");

    // A refused folder is no error: the walk skips it and goes on.
    const QString locked = tree.path(QStringLiteral("top/m-locked"));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const std::string result = RunAsUnprivileged([&] {
        QString error;
        double bytes = -1;
        bool denied = false;
        int code = 0;
        // Operands of << are evaluated left to right: each flag is read after its call.
        std::ostringstream out;
        out << CountFiles(locked, kEvery, false, error, bytes, denied) << (denied ? " denied" : " read")
            << error.toStdString();
        out << '|' << CountSubfolders(locked, error, code) << ' ' << code << ' ' << error.toStdString();
        denied = false;
        out << (IsFolderEmpty(locked, denied) ? "|empty" : "|full") << (denied ? " denied|" : " read|");
        return out.str() + sumTree(tree.path(QStringLiteral("top")), 200);
    });
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(result, "0 denied|-1 70 Permission denied|empty denied|4 15 0 200");
}

TEST(FormatByteSize, ChoosesBytesKilobytesMegabytesOrGigabytes)
{
    EXPECT_EQ(FormatByteSize(-1, 2), QString());
    EXPECT_EQ(FormatByteSize(0, 2), QStringLiteral("0 bytes"));
    EXPECT_EQ(FormatByteSize(1023, 2), QStringLiteral("1023 bytes"));
    EXPECT_EQ(FormatByteSize(1536, 2), QStringLiteral("1.50 Kb"));
    EXPECT_EQ(FormatByteSize(1048575, 2), QStringLiteral("1,024.00 Kb"));
    EXPECT_EQ(FormatByteSize(1048576, 2), QStringLiteral("1.00 Mb"));
    EXPECT_EQ(FormatByteSize(1536.0 * 1048576, 2), QStringLiteral("1,536.00 Mb"));

    EXPECT_EQ(FormatByteSizeGb(-5, 2), QStringLiteral("-5 bytes"));
    EXPECT_EQ(FormatByteSizeGb(1536, 2), QStringLiteral("1.50 Kb"));
    EXPECT_EQ(FormatByteSizeGb(1073741823, 2), QStringLiteral("1,024.00 Mb"));
    EXPECT_EQ(FormatByteSizeGb(1073741824, 2), QStringLiteral("1.00 Gb"));
}

} // namespace
} // namespace quillan::test
