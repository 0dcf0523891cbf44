#include "engine/TempTree.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"

#include <QDir>

#include <gtest/gtest.h>

namespace quillan::test {

TEST(GetFolderOfPath, KeepsEverythingUpToTheLastSeparator)
{
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("/home/me/s.usr")), QStringLiteral("/home/me/"));
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("/s.usr")), QStringLiteral("/"));
    EXPECT_EQ(GetFolderOfPath(QStringLiteral("s.usr")), QString());
}

TEST(DataFilePath, CreatesTheSubfolderWithoutDoublingTheBasesSeparator)
{
    TempTree tree;
    const QString path = tree.path(QStringLiteral("Quillan/nlq.usr"));
    // A base given with its separator, as the root folder is, gives no double one.
    for (const QString &base : {tree.root().chopped(1), tree.root()})
        EXPECT_EQ(DataFilePath(base, QStringLiteral("nlq.usr"), QStringLiteral("Quillan")), path);
    EXPECT_TRUE(FolderExists(tree.path(QStringLiteral("Quillan"))));
}

TEST(GetSettingsFilePath, LiesInTheApplicationDataFolderBesideTheReportsElseInTheHomeFolder)
{
    const QString folder = GetSpecialFolderPath(kAppDataFolder) + QDir::separator()
                           + QStringLiteral("QuillanT") + QDir::separator();
    EXPECT_EQ(GetSettingsFilePath(QStringLiteral("nlq.usr"), QStringLiteral("QuillanT")),
              folder + QStringLiteral("nlq.usr"));
    EXPECT_EQ(GetReportFilePath(QStringLiteral("files.txt"), QStringLiteral("QuillanT")),
              folder + QStringLiteral("files.txt"));
    EXPECT_TRUE(FolderExists(folder));
    QDir(folder).removeRecursively();
    // Without an application-data folder, settings go below the home folder.
    EXPECT_EQ(GetFirstFixedDrive(), QDir::toNativeSeparators(QDir::homePath()));
}

} // namespace quillan::test
