#include "engine/TempTree.h"
#include "util/DataFolder.h"
#include "util/FileProc.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char *name_;
    QByteArray old_;
    bool had_;
};

} // namespace

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

TEST(GetFirstFixedDrive, IsTheHomeFolderWhenItExists)
{
    TempTree tree;
    {
        ScopedEnv home("HOME", QFile::encodeName(tree.root().chopped(1)));
        EXPECT_EQ(GetFirstFixedDrive(), tree.root().chopped(1));
    }
    {
        ScopedEnv home("HOME", QFile::encodeName(tree.path(QStringLiteral("gone"))));
        EXPECT_EQ(GetFirstFixedDrive(), QString());
    }
}

} // namespace quillan::test
