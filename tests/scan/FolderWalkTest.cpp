#include "main/WalkDriver.h"
#include "scan/FolderWalk.h"

#include "engine/TempTree.h"
#include "engine/Unprivileged.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quillan::test {

namespace {

// Records what the walk shows and can ask it to stop after some yields.
class RecordingHost : public WalkHost
{
public:
    void Yield() override
    {
        ++yields;
        if (stopAfterYields > 0 && yields >= stopAfterYields)
            stop = true;
    }
    bool StopRequested() const override { return stop; }
    void ShowFileBeingScanned(const QString &relativePath) override { scanned.append(relativePath); }
    void ShowStatus(const QString &text) override { statuses.append(text); }

    int yields = 0;
    int stopAfterYields = 0;
    bool stop = false;
    QStringList scanned;
    QStringList statuses;
};

class FolderWalkTest : public ::testing::Test
{
protected:
    // Lists the tree as List files does and returns the listed paths.
    QStringList list(const QString &filepaths = QString(), const QString &links = QString())
    {
        state.blnListingFiles = true;
        state.blnCheckingLinks = false;
        options.topFolder = tree.root();
        PrepareExclusions(state, filepaths, links);
        RunWalk(state, options, host);
        return state.strListedFiles.mid(1, state.lngNumListedFiles);
    }

    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }

    TempTree tree;
    ScanState state;
    ScanOptions options;
    RecordingHost host;
};

} // namespace

TEST_F(FolderWalkTest, SelectsPagesByExtensionAndSize)
{
    tree.file(QStringLiteral("page.HTML"));
    tree.file(QStringLiteral("a.htm"));
    tree.file(QStringLiteral("b.shtml"));
    tree.file(QStringLiteral("c.xhtml"));
    tree.file(QStringLiteral("empty.htm"), QByteArray());
    tree.file(QStringLiteral("script.php"));
    tree.file(QStringLiteral("old.php3"));
    tree.file(QStringLiteral("x.phtml"));
    tree.file(QStringLiteral("noextension"));
    tree.file(QStringLiteral("notes.txt"));

    // Any extension holding "htm" is a page, so .phtml is listed as well.
    EXPECT_EQ(list(), (QStringList{QStringLiteral("a.htm"), QStringLiteral("b.shtml"),
                                   QStringLiteral("c.xhtml"), QStringLiteral("page.HTML"),
                                   QStringLiteral("x.phtml")}));

    options.includePhpFiles = 1;
    EXPECT_TRUE(list().contains(QStringLiteral("script.php")));
    EXPECT_FALSE(list().contains(QStringLiteral("old.php3")));
    options.includePhpFiles = 2; // a greyed box counts as ticked for the listing
    EXPECT_TRUE(list().contains(QStringLiteral("script.php")));
}

TEST_F(FolderWalkTest, TakesFilesBeforeSubfoldersInCodeUnitOrder)
{
    tree.file(QStringLiteral("b.htm"));
    tree.file(QStringLiteral("B.htm"));
    tree.file(QStringLiteral(".hidden.htm"));
    tree.file(QStringLiteral("a/z.htm"));
    tree.file(QStringLiteral("a/b/y.htm"));
    tree.file(QStringLiteral("A/x.htm"));
    tree.file(QStringLiteral("z.htm"));

    EXPECT_EQ(list(), (QStringList{QStringLiteral(".hidden.htm"), QStringLiteral("B.htm"),
                                   QStringLiteral("b.htm"), QStringLiteral("z.htm"),
                                   native(QStringLiteral("A/x.htm")), native(QStringLiteral("a/z.htm")),
                                   native(QStringLiteral("a/b/y.htm"))}));
    EXPECT_EQ(state.intFolderDepth, 1);
    EXPECT_EQ(state.strFolderAtDepth[1], tree.root());
}

TEST_F(FolderWalkTest, FilepathExclusionsMatchAnywhereIgnoringCase)
{
    tree.file(QStringLiteral("images/a.htm"));
    tree.file(QStringLiteral("myimages.htm"));
    tree.file(QStringLiteral("Café/menu.htm"));
    tree.file(QStringLiteral("keep.htm"));

    EXPECT_EQ(list(QStringLiteral("IMAGES")), (QStringList{QStringLiteral("keep.htm"),
                                                           native(QStringLiteral("Café/menu.htm"))}));
    // Accented capitals fold too.
    EXPECT_EQ(list(QStringLiteral("CAFÉ")), (QStringList{QStringLiteral("keep.htm"),
                                                         QStringLiteral("myimages.htm"),
                                                         native(QStringLiteral("images/a.htm"))}));
    // An empty entry is found in every path: nothing is listed.
    EXPECT_TRUE(list(QStringLiteral("x,,y")).isEmpty());
    EXPECT_EQ(state.intNumExcludedFilepaths, 3);
}

TEST_F(FolderWalkTest, ExcludedSubfoldersAreTopSubfoldersOnly)
{
    tree.file(QStringLiteral("old/a.htm"));
    tree.file(QStringLiteral("docs/old/b.htm"));
    tree.file(QStringLiteral("docs/c.htm"));
    state.strExcludedSubfolders = {QStringLiteral("OLD")};
    state.intNumExcludedSubfolders = 1;

    EXPECT_EQ(list(), (QStringList{native(QStringLiteral("docs/c.htm")),
                                   native(QStringLiteral("docs/old/b.htm"))}));
}

TEST_F(FolderWalkTest, TopFolderOnlyOpensNoSubfolder)
{
    tree.file(QStringLiteral("index.htm"));
    tree.file(QStringLiteral("sub/page.htm"));
    options.topFolderOnly = 1;
    EXPECT_EQ(list(), QStringList{QStringLiteral("index.htm")});
    options.topFolderOnly = 2; // only a ticked box keeps the walk at the top
    EXPECT_EQ(list().size(), 2);
}

TEST_F(FolderWalkTest, StopsAtTheFileLimit)
{
    for (int i = 0; i < 5; ++i)
        tree.file(QStringLiteral("d%1/p.htm").arg(i));
    options.maxNumFiles = 3;
    EXPECT_EQ(list().size(), 3);
    EXPECT_TRUE(state.blnMaxNumFilesReached);
    EXPECT_EQ(host.statuses.last(), QStringLiteral("Number of files so far: 3"));
}

TEST_F(FolderWalkTest, StopEndsTheWalkAtTheNextYield)
{
    for (int i = 0; i < 6; ++i)
        tree.file(QStringLiteral("p%1.htm").arg(i));
    tree.file(QStringLiteral("sub/q.htm"));
    // Yields come before and after every file: the fourth is before the second file.
    host.stopAfterYields = 4;
    EXPECT_EQ(list(), (QStringList{QStringLiteral("p0.htm"), QStringLiteral("p1.htm")}));
}

TEST_F(FolderWalkTest, ShowsTheRunningCountWithGrouping)
{
    EXPECT_EQ(ListingProgressText(1), QStringLiteral("Number of files so far: 1"));
    EXPECT_EQ(ListingProgressText(1234), QStringLiteral("Number of files so far: 1,234"));
}

TEST_F(FolderWalkTest, ShowsEveryFileInCheckingMode)
{
    tree.file(QStringLiteral("a.htm"), "<p>no links</p>");
    tree.file(QStringLiteral("sub/b.gif"));
    state.blnCheckingLinks = true;
    options.topFolder = tree.root();
    RunWalk(state, options, host);
    EXPECT_EQ(host.scanned, (QStringList{QStringLiteral("a.htm"), native(QStringLiteral("sub/b.gif"))}));
}

TEST_F(FolderWalkTest, DoesNotFollowALinkBackUpTheChain)
{
    tree.file(QStringLiteral("sub/page.htm"));
    tree.symlink(QStringLiteral("sub/loop"), tree.root());
    tree.symlink(QStringLiteral("sub/self"), tree.path(QStringLiteral("sub")));
    tree.file(QStringLiteral("other/x.htm"));
    tree.symlink(QStringLiteral("sub/other"), tree.path(QStringLiteral("other")));

    EXPECT_EQ(list(), (QStringList{native(QStringLiteral("other/x.htm")),
                                   native(QStringLiteral("sub/page.htm")),
                                   native(QStringLiteral("sub/other/x.htm"))}));
}

TEST_F(FolderWalkTest, SkipsFoldersDeeperThanTheTable)
{
    QString deep;
    for (int depth = 2; depth <= 130; ++depth) {
        deep += QStringLiteral("d/");
        tree.file(deep + QStringLiteral("p%1.htm").arg(depth));
    }
    const QStringList listed = list();
    // Depth 1 is the top folder; the table reaches depth 128.
    EXPECT_EQ(listed.size(), 127);
    EXPECT_TRUE(listed.last().endsWith(QStringLiteral("p128.htm")));
}

TEST_F(FolderWalkTest, SkipsUnreadableFoldersSilently)
{
    tree.file(QStringLiteral("a/locked/secret.htm"));
    tree.file(QStringLiteral("a/open.htm"));
    tree.file(QStringLiteral("b/after.htm"));
    QFile::setPermissions(tree.path(QStringLiteral("a/locked")), QFileDevice::Permissions());

    const std::string listed = RunAsUnprivileged([this] {
        return list().join(u'|').toStdString();
    });
    QFile::setPermissions(tree.path(QStringLiteral("a/locked")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(QString::fromStdString(listed),
              native(QStringLiteral("a/open.htm")) + u'|' + native(QStringLiteral("b/after.htm")));
}

TEST_F(FolderWalkTest, SkipsSpecialFilesThatWouldBlockAReader)
{
#ifndef _WIN32
    tree.file(QStringLiteral("a.htm"));
    const QByteArray fifo = QFile::encodeName(tree.path(QStringLiteral("pipe.htm")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    EXPECT_EQ(list(), QStringList{QStringLiteral("a.htm")});
#endif
}

} // namespace quillan::test
