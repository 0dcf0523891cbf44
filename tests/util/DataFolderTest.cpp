#include "engine/TempTree.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace quillan::test {

TEST(GetFolderOfPath, KeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("/home/me/s.usr")), QStringLiteral("/home/me/"));
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("/home/me/")), QStringLiteral("/home/me/"));
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("/s.usr")), QStringLiteral("/"));
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("s.usr")), QString());
    EXPECT_EQ(GetFolderOfPath(QString()), QString());
}

TEST(DataFilePath, CreatesTheSubfolderOnce)
{
    TempTree tree;
    const QString base = tree.root().chopped(1);
    const QString path = DataFilePath(base, QStringLiteral("nlq.usr"), QStringLiteral("Quillan"));
    EXPECT_EQ(path, tree.path(QStringLiteral("Quillan/nlq.usr")));
    EXPECT_TRUE(FolderExists(tree.path(QStringLiteral("Quillan"))));
    // A base given with its separator, as the root folder is, gives no double one.
    EXPECT_EQ(DataFilePath(tree.root(), QStringLiteral("nlq.usr"), QStringLiteral("Quillan")), path);
}

TEST(GetSettingsFilePath, LiesInTheApplicationDataFolderBesideTheReports)
{
    const QString base = GetSpecialFolderPath(kAppDataFolder);
    ASSERT_FALSE(base.isEmpty());
    const QString path = GetSettingsFilePath(QStringLiteral("nlq.usr"), QStringLiteral("QuillanT"));
    EXPECT_EQ(path, base + QDir::separator() + QStringLiteral("QuillanT") + QDir::separator()
                        + QStringLiteral("nlq.usr"));
    EXPECT_EQ(GetFolderOfPath(path),
              GetFolderOfPath(GetReportFilePath(QStringLiteral("files.txt"), QStringLiteral("QuillanT"))));
    EXPECT_TRUE(FolderExists(GetFolderOfPath(path)));
    QDir(GetFolderOfPath(path)).removeRecursively();
}

TEST(GetFirstFixedDrive, IsTheHomeFolder)
{
    ASSERT_TRUE(FolderExists(QDir::homePath()));
    EXPECT_EQ(GetFirstFixedDrive(), QDir::toNativeSeparators(QDir::homePath()));
}

} // namespace quillan::test
