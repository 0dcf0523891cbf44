#include "LinkCheckerSite.h"

#include "engine/Unprivileged.h"
#include "run/ListFilesText.h"
#include "scan/FolderWalk.h"
#include "util/NativeName.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace quillan::test {

namespace {

class FolderWalkTest : public ::testing::Test
{
protected:
    // Lists the tree as List files does; the listed paths joined by "|",
    // with "/" for the separator.
    QString list(const QString &filepaths = QString())
    {
        state.blnListingFiles = true;
        state.blnCheckingLinks = false;
        options.topFolder = tree.root();
        PrepareExclusions(state, filepaths, QString());
        RunWalk(state, options, host);
        return QDir::fromNativeSeparators(state.strListedFiles.mid(1, state.lngNumListedFiles).join(u'|'));
    }

    // Walks the tree as Check links does; the files shown, as list() gives them.
    QString check()
    {
        state.blnListingFiles = false;
        state.blnCheckingLinks = true;
        options.topFolder = tree.root();
        RunWalk(state, options, host);
        return QDir::fromNativeSeparators(host.scanned.join(u'|'));
    }

    // Creates each "|"-separated file with some content.
    void files(const QString &paths)
    {
        for (const QString &path : paths.split(u'|'))
            tree.file(path);
    }

    TempTree tree;
    ScanState state;
    ScanOptions options;
    RecordingHost host;
};

} // namespace

TEST_F(FolderWalkTest, SelectsPagesByExtensionAndSize)
{
    files(QStringLiteral("page.HTML|a.htm|b.shtml|c.xhtml|script.php|old.php3|x.phtml|noextension|notes.txt"
                         "|d.htm.txt|e.PHP|f.\u00C9HTM|long.xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxHtMx"
                         "|long.xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"));
    tree.file(QStringLiteral("empty.htm"), QByteArray());

    // Any extension holding "htm", in any case and of any length, is a
    // page, so .phtml is listed as well.
    EXPECT_EQ(list(), QStringLiteral("a.htm|b.shtml|c.xhtml|f.\u00C9HTM|long.xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxHtMx"
                                     "|page.HTML|x.phtml"));
    options.includePhpFiles = 1;
    EXPECT_EQ(list(), QStringLiteral("a.htm|b.shtml|c.xhtml|e.PHP|f.\u00C9HTM"
                                     "|long.xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxHtMx|page.HTML|script.php|x.phtml"));
    options.includePhpFiles = 2; // a greyed box counts as ticked for the listing
    EXPECT_TRUE(list().contains(QStringLiteral("script.php")));
}

TEST_F(FolderWalkTest, TakesFilesBeforeSubfoldersInCodeUnitOrderAndShowsEveryFileWhenChecking)
{
    files(QStringLiteral("b.htm|B.htm|.hidden.htm|a/z.htm|a/b/y.htm|A/x.htm|z.htm|a/c.gif"));
    EXPECT_EQ(list(), QStringLiteral(".hidden.htm|B.htm|b.htm|z.htm|A/x.htm|a/z.htm|a/b/y.htm"));
    EXPECT_EQ(state.intFolderDepth, 1);
    EXPECT_EQ(state.strFolderAtDepth[1], tree.root());
    EXPECT_EQ(check(), QStringLiteral(".hidden.htm|B.htm|b.htm|z.htm|A/x.htm|a/c.gif|a/z.htm|a/b/y.htm"));
}

TEST_F(FolderWalkTest, FilepathExclusionsMatchAnywhereIgnoringCase)
{
    files(QStringLiteral("images/a.htm|myimages.htm|Café/menu.htm|keep.htm"));
    EXPECT_EQ(list(QStringLiteral("IMAGES")), QStringLiteral("keep.htm|Café/menu.htm"));
    // Accented capitals fold too.
    EXPECT_EQ(list(QStringLiteral("CAFÉ")), QStringLiteral("keep.htm|myimages.htm|images/a.htm"));
    // An empty entry is found in every path: nothing is listed.
    EXPECT_EQ(list(QStringLiteral("x,,y")), QString());
    EXPECT_EQ(state.intNumExcludedFilepaths, 3);
}

TEST_F(FolderWalkTest, ExcludedSubfoldersAreTopSubfoldersOnlyAndTopFolderOnlyOpensNone)
{
    files(QStringLiteral("index.htm|old/a.htm|docs/old/b.htm|docs/c.htm"));
    state.strExcludedSubfolders = {QStringLiteral("OLD")};
    state.intNumExcludedSubfolders = 1;
    EXPECT_EQ(list(), QStringLiteral("index.htm|docs/c.htm|docs/old/b.htm"));
    options.topFolderOnly = 1;
    EXPECT_EQ(list(), QStringLiteral("index.htm"));
    options.topFolderOnly = 2; // only a ticked box keeps the walk at the top
    EXPECT_EQ(list(), QStringLiteral("index.htm|docs/c.htm|docs/old/b.htm"));
}

TEST_F(FolderWalkTest, ListsReadsAndShowsNamesTheLocaleCannotDecode)
{
    // Latin-1 names on a UTF-8 system.
    for (const char *name : {"caf\xE9.htm", "d\xE9j\xE0/page.htm", "old\xE9/page.htm", "old\xE8/page.htm"})
        tree.byteNamedFile(name);
    files(QStringLiteral("z.htm"));
    const QString shown = QStringLiteral("caf\uFFFD.htm|z.htm|d\uFFFDj\uFFFD/page.htm|old\uFFFD/page.htm"
                                         "|old\uFFFD/page.htm");
    EXPECT_EQ(DisplayName(list()), shown);
    EXPECT_EQ(ListingStatusText(false, true, 1, state.strListedFiles[1], false, 50000),
              QStringLiteral("Sole file: caf\uFFFD.htm"));

    // Exclusions are written as the names are shown.
    state.strExcludedSubfolders = {QStringLiteral("OLD\uFFFD")};
    state.intNumExcludedSubfolders = 1;
    EXPECT_EQ(DisplayName(list(QStringLiteral("J\uFFFD/"))), QStringLiteral("caf\uFFFD.htm|z.htm"));

    state.intNumExcludedSubfolders = 0;
    EXPECT_EQ(check(), shown);
}

TEST_F(FolderWalkTest, StopsAtTheFileLimitAndAtStop)
{
    files(QStringLiteral("d0/p.htm|d1/p.htm|d2/p.htm|d3/p.htm"));
    options.maxNumFiles = 3;
    EXPECT_EQ(list(), QStringLiteral("d0/p.htm|d1/p.htm|d2/p.htm"));
    EXPECT_TRUE(state.blnMaxNumFilesReached);
    EXPECT_EQ(host.statuses.last(), QStringLiteral("Number of files so far: 3"));
    EXPECT_EQ(ListingProgressText(1234), QStringLiteral("Number of files so far: 1,234"));

    // Yields come before and after every file and before every subfolder:
    // the sixth follows d1's first file, so its second is never listed.
    files(QStringLiteral("d1/q.htm"));
    options.maxNumFiles = 50000;
    host.yields = 0;
    host.stopAfterYields = 6;
    EXPECT_EQ(list(), QStringLiteral("d0/p.htm|d1/p.htm"));
}

TEST_F(FolderWalkTest, DoesNotFollowALinkBackUpTheChain)
{
    files(QStringLiteral("sub/page.htm|other/x.htm"));
    tree.symlink(QStringLiteral("sub/loop"), tree.root());
    tree.symlink(QStringLiteral("sub/self"), tree.path(QStringLiteral("sub")));
    tree.symlink(QStringLiteral("sub/other"), tree.path(QStringLiteral("other")));
    EXPECT_EQ(list(), QStringLiteral("other/x.htm|sub/page.htm|sub/other/x.htm"));
}

TEST_F(FolderWalkTest, SkipsFoldersDeeperThanTheTable)
{
    QString deep;
    for (int depth = 2; depth <= 130; ++depth) {
        deep += QStringLiteral("d/");
        tree.file(deep + QStringLiteral("p%1.htm").arg(depth));
    }
    // Depth 1 is the top folder; the table reaches depth 128. The host is
    // told of the first folder left out.
    const QStringList listed = list().split(u'|');
    EXPECT_EQ(listed.size(), 127);
    EXPECT_TRUE(listed.last().endsWith(QStringLiteral("p128.htm")));
    EXPECT_EQ(host.skipped, QStringList{tree.root() + QDir::toNativeSeparators(deep.left(128 * 2 - 1)) + QStringLiteral(":deep")});
}

TEST_F(FolderWalkTest, SkipsUnreadableFoldersAndSpecialFilesSilently)
{
    files(QStringLiteral("a/locked/secret.htm|a/open.htm|b/after.htm"));
#ifndef _WIN32
    // A pipe named like a page would block a reader for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(tree.path(QStringLiteral("a/pipe.htm"))).constData(), 0644), 0);
#endif
    const QString locked = tree.path(QStringLiteral("a/locked"));
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const std::string listed = RunAsUnprivileged([this] {
        const QString listed = list();
        return (listed + u' ' + host.skipped.join(u'|')).toStdString();
    });
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(listed, "a/open.htm|b/after.htm " + (locked + QStringLiteral("/:unreadable")).toStdString());
}

// Each page read is reported with the links looked up on disk (not those
// leaving the site, excluded or of types not checked), and a page that
// cannot be read says so.
TEST_F(FolderWalkTest, TellsTheHostOfEachPageReadAndTheLinksItLookedUp)
{
    tree.file(QStringLiteral("a.htm"), PageLinkingTo({"b.htm", "gone.htm", "http://x.example/", "/root.htm",
                                                     "skip.htm", "prog.exe", "pic.gif"}));
    tree.file(QStringLiteral("b.htm"), "no links");
    tree.file(QStringLiteral("locked.htm"), PageLinkingTo({"a.htm"}));
    PrepareExclusions(state, QString(), QStringLiteral("skip"));
    options.checkableFileTypes = DefaultCheckableFileTypes();
    const QByteArray locked = QFile::encodeName(tree.path(QStringLiteral("locked.htm")));
    ::chmod(locked.constData(), 0);
    const std::string checked = RunAsUnprivileged([this] {
        check();
        return host.checked.join(u'|').toStdString();
    });
    ::chmod(locked.constData(), 0644);
    const QString top = tree.root();
    EXPECT_EQ(checked, (top + QStringLiteral("a.htm:3|") + top + QStringLiteral("b.htm:0|") + top
                        + QStringLiteral("locked.htm:0!"))
                           .toStdString());
}

} // namespace quillan::test
