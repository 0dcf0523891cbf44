#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "main/ListFilesText.h"
#include "windows/frmView.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan::test {

using Answer = Interaction::Answer;

namespace {

class ListFilesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
        window->txbTopFolder->setText(site.root());
    }

    QString status() const { return window->lblTotalNumFilesOrBrokenLinks->text(); }
    static QByteArray listFile()
    {
        QFile file(dataFile(QStringLiteral("files.txt")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QString native(const QString &path) { return QDir::toNativeSeparators(path); }

    void addPages(int count)
    {
        for (int i = 0; i < count; ++i)
            site.file(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')));
    }

    TempTree site;
};

} // namespace

TEST_F(ListFilesTest, OnePageInTheTopFolder)
{
    site.file(QStringLiteral("index.htm"), "<html></html>");
    site.file(QStringLiteral("style.css"), "p {}");
    window->cmdListFiles_Click();

    EXPECT_EQ(status(), QStringLiteral("Sole file: index.htm"));
    EXPECT_EQ(listFile(), ("Top Folder is " + site.root().toUtf8()
                           + "\r\nLinks in only one file will be checked.\r\n\r\nindex.htm\r\n\r\n"));
    EXPECT_TRUE(window->view()->isVisible());
    EXPECT_EQ(window->view()->windowTitle(), QStringLiteral("Files with links to be checked"));
    EXPECT_TRUE(window->view()->txbText1->toPlainText().contains(QStringLiteral("index.htm")));
    EXPECT_EQ(window->focusWidget(), window->cmdListFiles);

    site.file(QStringLiteral("sub/other.htm"));
    window->chkTopFolderOnly->setChecked(true);
    window->cmdListFiles_Click();
    EXPECT_TRUE(listFile().contains("\r\nLink in only one file (in the top folder) will be checked.\r\n"));
}

TEST_F(ListFilesTest, OnePageInASubfolderShowsItsNameAlone)
{
    site.file(QStringLiteral("sub/name.htm"));
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Sole file: name.htm"));
    EXPECT_TRUE(listFile().endsWith("\r\n\r\n" + native(QStringLiteral("sub/name.htm")).toUtf8() + "\r\n\r\n"));
}

TEST_F(ListFilesTest, CountsInWordsAndDigits)
{
    addPages(17);
    window->chkTopFolderOnly->setChecked(true);
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Number of files: 17"));
    EXPECT_TRUE(listFile().contains("\r\nLinks in seventeen files (in the top folder) will be checked.\r\n"));
    const QList<QByteArray> lines = listFile().split('\n');
    EXPECT_EQ(lines.size(), 2 + 1 + 17 + 1 + 1); // header, blank, files, blank, after the last CR LF

    addPages(150);
    window->chkTopFolderOnly->setChecked(false);
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Number of files: 150"));
    EXPECT_TRUE(listFile().contains("\r\nLinks in 150 files will be checked.\r\n"));
}

TEST_F(ListFilesTest, TheListingTextsForEveryCase)
{
    EXPECT_EQ(ListingLine2(99, false, false), QStringLiteral("Links in ninety nine files will be checked."));
    EXPECT_EQ(ListingLine2(2, true, true),
              QStringLiteral("The listing of files was stopped, so this list is incomplete."));
    EXPECT_EQ(ListingLine2(1234, false, false), QStringLiteral("Links in 1,234 files will be checked."));
    EXPECT_EQ(ListingStatusText(false, true, 50000, QString(), true, 50000),
              QStringLiteral("Maximum number of files reached: 50,000"));
    EXPECT_EQ(ListingStatusText(false, true, 1234, QString(), false, 50000),
              QStringLiteral("Number of files: 1,234"));
    EXPECT_EQ(ListingStatusText(true, true, 3, QString(), true, 50000),
              QStringLiteral("Listing of files was stopped."));
    EXPECT_EQ(ListingStatusText(false, false, 0, QString(), false, 50000), QString());
}

TEST_F(ListFilesTest, NoPagesWritesNothing)
{
    site.file(QStringLiteral("readme.txt"));
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("No files."));
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("files.txt"))));
    EXPECT_FALSE(window->view()->isVisible());
}

TEST_F(ListFilesTest, StopsAtTheFileLimit)
{
    addPages(5);
    window->lngMaxNumFiles = 3;
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Maximum number of files reached: 3"));
    EXPECT_TRUE(listFile().endsWith("p002.htm\r\n\r\n"));
}

TEST_F(ListFilesTest, TopFolderMissingOrEmpty)
{
    window->txbTopFolder->setText(QStringLiteral("   "));
    fake.ExpectBox(Answer::Ok);
    window->cmdListFiles_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, window->GetProgramText(35));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Check links"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_TRUE(window->txbTopFolder->text().isEmpty());

    window->txbTopFolder->setText(site.path(QStringLiteral("gone")) + QDir::separator());
    fake.ExpectBox(Answer::Ok);
    window->cmdListFiles_Click();
    EXPECT_EQ(fake.boxes[1].text, window->GetProgramText(36));
    EXPECT_EQ(status(), QString());
    EXPECT_TRUE(window->cmdListFiles->isEnabled());
}

TEST_F(ListFilesTest, LocksTheWindowWhileWalking)
{
    addPages(2);
    bool checked = false;
    fake.onProcessEvents = [&](int) {
        if (checked)
            return;
        checked = true;
        EXPECT_TRUE(window->cmdStop->isVisible());
        EXPECT_TRUE(window->cmdStop->isEnabled());
        EXPECT_TRUE(window->cmdQuit->isEnabled());
        EXPECT_FALSE(window->cmdListFiles->isEnabled());
        EXPECT_FALSE(window->chkTopFolderOnly->isEnabled());
    };
    window->cmdListFiles_Click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(window->cmdStop->isVisible());
    EXPECT_TRUE(window->cmdListFiles->isEnabled());
}

TEST_F(ListFilesTest, StopAnsweredNoLetsTheListingFinish)
{
    addPages(4);
    fake.onProcessEvents = [&](int call) {
        if (call == 3) {
            fake.ExpectBox(Answer::No);
            window->cmdStop_Click();
        }
    };
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Number of files: 4"));
    EXPECT_TRUE(window->view()->isVisible());
}

TEST_F(ListFilesTest, StoppedListingIsWrittenAndShownOnlyOnYes)
{
    addPages(4);
    int calls = 0;
    fake.onProcessEvents = [&](int) {
        if (++calls == 3)
            window->cmdStop_Click();
    };
    fake.ExpectBox(Answer::Yes); // Really stop?
    fake.ExpectBox(Answer::No);  // display the incomplete list?
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Listing of files was stopped."));
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text,
              QStringLiteral("The listing was stopped.  Do you wish to display the incomplete list?"));
    EXPECT_EQ(fake.boxes[1].title, QStringLiteral("List files"));
    EXPECT_EQ(fake.boxes[1].defaultButton, Answer::Yes);
    EXPECT_TRUE(listFile().contains("\r\nThe listing of files was stopped, so this list is incomplete.\r\n"));
    EXPECT_TRUE(listFile().endsWith("\r\np000.htm\r\n\r\n"));
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_TRUE(window->blnStop); // kept until the next command

    calls = 0;
    fake.ExpectBox(Answer::Yes);
    fake.ExpectBox(Answer::Yes);
    window->cmdListFiles_Click();
    EXPECT_TRUE(window->view()->isVisible());
}

TEST_F(ListFilesTest, QuitDeletesTheListAndEndsAWalkAtOnce)
{
    site.file(QStringLiteral("a.htm"));
    window->cmdListFiles_Click();
    const QString list = dataFile(QStringLiteral("files.txt"));
    ASSERT_TRUE(QFile::exists(list));
    window->cmdQuit_Click();
    EXPECT_FALSE(QFile::exists(list));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->isQuitting());
}

TEST_F(ListFilesTest, QuitDuringAWalkWritesNothingMore)
{
    addPages(5);
    fake.onProcessEvents = [&](int call) {
        if (call == 2)
            window->cmdQuit_Click();
    };
    window->cmdListFiles_Click();
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("files.txt"))));
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ListFilesTest, ANewListingDeletesTheOldListFirst)
{
    site.file(QStringLiteral("a.htm"));
    window->cmdListFiles_Click();
    QFile::remove(site.path(QStringLiteral("a.htm")));
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("No files."));
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("files.txt"))));
}

TEST_F(ListFilesTest, AListThatCannotBeWrittenIsReported)
{
    site.file(QStringLiteral("a.htm"));
    QDir().mkpath(dataFile(QStringLiteral("files.txt"))); // a folder where the file should go
    fake.ExpectBox(Answer::Ok);
    window->cmdListFiles_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              QStringLiteral("Unable to write the list of files to ") + dataFile(QStringLiteral("files.txt")));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("List files"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_EQ(status(), QStringLiteral("Sole file: a.htm"));
    EXPECT_FALSE(window->view()->isVisible());
}

TEST_F(ListFilesTest, TopFolderAndExclusionBoxesAreTrimmedAndHonoured)
{
    site.file(QStringLiteral("keep.htm"));
    site.file(QStringLiteral("drafts/a.htm"));
    window->txbTopFolder->setText(QStringLiteral("  ") + site.root() + QStringLiteral(" "));
    window->txbExcludedFilepaths->setText(QStringLiteral("  DRAFTS  "));
    window->cmdListFiles_Click();
    EXPECT_EQ(window->txbTopFolder->text(), site.root());
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("DRAFTS"));
    EXPECT_EQ(status(), QStringLiteral("Sole file: keep.htm"));
    EXPECT_EQ(window->scan().intNumExcludedFilepaths, 1);
}

} // namespace quillan::test
