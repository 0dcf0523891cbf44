#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "run/ListFilesText.h"
#include "windows/Twips.h"
#include "windows/frmView.h"

#include <QCheckBox>
#include <QComboBox>
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
    static QString listPath() { return dataFile(QStringLiteral("files.txt")); }
    static QByteArray listFile() { return FileBytes(listPath()); }

    void addPages(int count)
    {
        for (int i = 0; i < count; ++i)
            site.file(QStringLiteral("p%1.htm").arg(i, 3, 10, QLatin1Char('0')));
    }

    TempTree site;
};

} // namespace

TEST_F(ListFilesTest, OnePageIsNamedAloneItsListStandsBesideTheWindowAndQuitDeletesIt)
{
    site.file(QStringLiteral("sub/name.htm"), "<html></html>");
    site.file(QStringLiteral("style.css"), "p {}");
    window->cmdListFiles_Click();

    EXPECT_EQ(status(), QStringLiteral("Sole file: name.htm"));
    EXPECT_EQ(listFile(), ("Top Folder is " + site.root().toUtf8()
                           + "\r\nLinks in only one file will be checked.\r\n\r\n"
                           + QDir::toNativeSeparators(QStringLiteral("sub/name.htm")).toUtf8()
                           + "\r\n\r\n"));
    frmView *view = window->view();
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Files with links to be checked"));
    EXPECT_TRUE(view->txbText1->toPlainText().contains(QStringLiteral("name.htm")));
    EXPECT_TRUE(view->cmdCopyToClipboard->isVisible());
    EXPECT_NEAR(twips::Left(view), twips::Left(window.get()) + twips::Width(window.get()), 15);
    EXPECT_NEAR(twips::Top(view), twips::Top(window.get()), 15);
    EXPECT_NEAR(twips::Width(view), twips::Width(window.get()), 15);
    EXPECT_NEAR(twips::Height(view), twips::Height(window.get()), 15);
    EXPECT_EQ(window->focusWidget(), window->cmdListFiles);

    site.file(QStringLiteral("index.htm"));
    window->chkTopFolderOnly->setChecked(true);
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Sole file: index.htm"));
    EXPECT_TRUE(listFile().contains("\r\nLink in only one file (in the top folder) will be checked.\r\n"));

    // Quit deletes the list and ends the program at once.
    window->cmdQuit_Click();
    EXPECT_FALSE(QFile::exists(listPath()));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->isQuitting());
}

TEST_F(ListFilesTest, CountsInWordsAndDigitsUpToTheFileLimit)
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

    window->lngMaxNumFiles = 3;
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Maximum number of files reached: 3"));
    EXPECT_TRUE(listFile().endsWith("p002.htm\r\n\r\n"));
}

// Smaller counts are checked through the window.
TEST(ListFilesText, LargeCountsAreGrouped)
{
    EXPECT_EQ(ListingLine2(1234, false, false), QStringLiteral("Links in 1,234 files will be checked."));
    EXPECT_EQ(ListingStatusText(false, true, 50000, QString(), true, 50000),
              QStringLiteral("Maximum number of files reached: 50,000"));
    EXPECT_EQ(ListingStatusText(false, true, 1234, QString(), false, 50000),
              QStringLiteral("Number of files: 1,234"));
}

TEST_F(ListFilesTest, ANewListingDeletesTheOldListFirstAndNoPagesWriteNothing)
{
    site.file(QStringLiteral("a.htm"));
    site.file(QStringLiteral("readme.txt"));
    window->cmdListFiles_Click();
    ASSERT_TRUE(window->view()->isVisible());
    QFile::remove(site.path(QStringLiteral("a.htm")));
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("No files."));
    EXPECT_FALSE(QFile::exists(listPath()));
    EXPECT_FALSE(window->view()->isVisible());
}

TEST_F(ListFilesTest, BothCommandsExplainAMissingOrEmptyTopFolderAndDoNothingElse)
{
    for (QPushButton *command : {window->cmdListFiles, window->cmdCheckLinks}) {
        SCOPED_TRACE(command->text().toStdString());
        fake.boxes.clear();
        window->lblTotalNumFilesOrBrokenLinks->setText(QStringLiteral("old"));
        window->txbTopFolder->setText(QStringLiteral("   "));
        fake.ExpectBox(Answer::Ok);
        command->click();
        window->txbTopFolder->setText(site.path(QStringLiteral("gone")) + QDir::separator());
        fake.ExpectBox(Answer::Ok);
        command->click();
        ASSERT_EQ(fake.boxes.size(), 2u);
        EXPECT_EQ(fake.boxes[0].text, window->GetProgramText(35));
        EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Check links"));
        EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
        EXPECT_EQ(fake.boxes[1].text, window->GetProgramText(36));
        EXPECT_EQ(status(), QString());
        EXPECT_TRUE(command->isEnabled());
        EXPECT_FALSE(window->view()->isVisible() || window->view2()->isVisible());
    }
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
        // One control of each kind that is switched off.
        for (QWidget *control : std::initializer_list<QWidget *>{
                 window->txbTopFolder, window->txbExcludedSubfolders, window->chkTopFolderOnly,
                 window->cmdListFiles, window->cboSettings})
            EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    };
    window->cmdListFiles_Click();
    EXPECT_TRUE(checked);
    EXPECT_FALSE(window->cmdStop->isVisible());
    EXPECT_TRUE(window->cmdListFiles->isEnabled());
}

TEST_F(ListFilesTest, StopAsksFirstAndAStoppedListingIsWrittenButShownOnlyOnYes)
{
    addPages(4);
    // Answered No, the listing goes on to its end.
    fake.onProcessEvents = [&](int call) {
        if (call == 3) {
            fake.ExpectBox(Answer::No);
            window->cmdStop->click();
            EXPECT_FALSE(window->blnStop);
        }
    };
    window->cmdListFiles_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, QStringLiteral("Really stop?"));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Stop"));
    EXPECT_EQ(fake.boxes[0].buttons, Interaction::Buttons::YesNo);
    EXPECT_EQ(fake.boxes[0].defaultButton, Answer::No);
    EXPECT_EQ(status(), QStringLiteral("Number of files: 4"));
    EXPECT_TRUE(window->view()->isVisible());

    int calls = 0;
    fake.onProcessEvents = [&](int) {
        if (++calls == 3)
            window->cmdStop->click();
    };
    fake.ExpectBox(Answer::Yes); // Really stop?
    fake.ExpectBox(Answer::No);  // display the incomplete list?
    window->cmdListFiles_Click();
    EXPECT_EQ(status(), QStringLiteral("Listing of files was stopped."));
    ASSERT_EQ(fake.boxes.size(), 3u);
    EXPECT_EQ(fake.boxes[2].text,
              QStringLiteral("The listing was stopped.  Do you wish to display the incomplete list?"));
    EXPECT_EQ(fake.boxes[2].title, QStringLiteral("List files"));
    EXPECT_EQ(fake.boxes[2].defaultButton, Answer::Yes);
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

TEST_F(ListFilesTest, QuitDuringAWalkWritesNothingMore)
{
    addPages(5);
    fake.onProcessEvents = [&](int call) {
        if (call == 2)
            window->cmdQuit_Click();
    };
    window->cmdListFiles_Click();
    EXPECT_FALSE(QFile::exists(listPath()));
    EXPECT_FALSE(window->view()->isVisible());
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(ListFilesTest, AListThatCannotBeWrittenIsReported)
{
    site.file(QStringLiteral("a.htm"));
    QDir().mkpath(listPath()); // a folder where the file should go
    fake.ExpectBox(Answer::Ok);
    window->cmdListFiles_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              QStringLiteral("Unable to write the list of files to ") + listPath());
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
