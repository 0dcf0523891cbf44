#include "text/ProgramFolder.h"
#include "text/ProgramText.h"

#include "engine/TempTree.h"

#include <gtest/gtest.h>

namespace quillan::test {

// The executable lies in bin/ of the tree, as under an install prefix.
TEST(LocateProgramFolder, PrefersTheExecutablesFolderThenTheSharedDataFolder)
{
    struct Case {
        const char *layout; // entries made before the lookup; a trailing "/" makes a folder
        const char *expected;
    };
    const Case cases[] = {
        {"bin/qln.dat share/quillan/qln.dat", "bin"},
        {"share/quillan/qln.dat", "share/quillan"},
        {"bin/qln.dat/ share/quillan/qln.dat", "share/quillan"}, // a folder is no file
        {"bin/other.dat share/quillan/qln.dat/", "bin"},
        {"", "bin"},
    };
    for (const Case &c : cases) {
        TempTree tree;
        tree.folder(QStringLiteral("bin"));
        for (const QString &entry : QString::fromUtf8(c.layout).split(u' ', Qt::SkipEmptyParts)) {
            if (entry.endsWith(u'/'))
                tree.folder(entry);
            else
                tree.file(entry, "1=one\n");
        }
        EXPECT_EQ(LocateProgramFolder(tree.path(QStringLiteral("bin")), QStringLiteral("qln.dat")),
                  tree.path(QString::fromUtf8(c.expected)))
            << c.layout;
    }
}

TEST(LocateProgramFolder, NamesTheExecutablesFolderWhenNeitherHoldsTheFile)
{
    TempTree tree;
    tree.file(QStringLiteral("share/quillan/qln-help.txt"));
    const QString bin = tree.path(QStringLiteral("bin"));
    const QString path = ProgramTextFilePath(LocateProgramFolder(bin, QStringLiteral("qln.dat")),
                                             QStringLiteral("qln.dat"));
    ProgramTextTable table;
    EXPECT_EQ(ProgramTextLoadMessage(table.LoadFromFile(path), path),
              QStringLiteral("Cannot open file containing program text.\r\n") + bin
                  + QStringLiteral("/qln.dat"));
    // The root folder already ends in its separator.
    EXPECT_EQ(ProgramTextFilePath(QStringLiteral("/"), QStringLiteral("qln.dat")), QStringLiteral("/qln.dat"));
}

} // namespace quillan::test
