#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "settings/TargetFileTypes.h"
#include "windows/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan::test {

using Answer = Interaction::Answer;

TEST_F(MainWindowTest, StartsInItsInitialStateWithTheFocusOnHelp)
{
    start();
    EXPECT_TRUE(window->blnStartupCompleted);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->cmdStop->isVisible());
    EXPECT_EQ(window->focusWidget(), window->cmdHelp);
    EXPECT_EQ(window->strProgramTextFile, QStringLiteral("qln.dat"));
    EXPECT_EQ(window->strCheckableFileTypes, DefaultCheckableFileTypes());
    EXPECT_EQ(window->lngMaxNumFiles, 50000);
    EXPECT_EQ(window->lngMaxNumLinks, 50000);
    EXPECT_TRUE(window->lblTotalNumFilesOrBrokenLinks->text().isEmpty());
    EXPECT_EQ(window->cboSettings->count(), 4);
    EXPECT_EQ(window->cboSettings->currentIndex(), 0);
    EXPECT_EQ(window->cboClear->count(), 5);
    EXPECT_EQ(window->cboClear->currentIndex(), -1);
    EXPECT_FALSE(window->chkIncludePHPfiles->isChecked());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(208, 208, 240));
    EXPECT_EQ(window->chkTopFolderOnly->palette().color(QPalette::Window), QColor(208, 208, 240));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(MainWindowTest, HeightFollowsTheSettingsButton)
{
    start();
    const int expected = twips::Top(window->cmdSettings) + twips::Height(window->cmdSettings) + 600;
    EXPECT_NEAR(twips::Height(window.get()), expected, 15); // one pixel of rounding
    EXPECT_NEAR(twips::Left(window.get()), 100, 15);
}

TEST_F(MainWindowTest, ACheckBoxMovesTheFocusToTheNextButtonToPress)
{
    start();
    window->chkIncludePHPfiles->click();
    EXPECT_EQ(window->focusWidget(), window->cmdTopFolder);

    window->txbTopFolder->setText(QDir::tempPath() + QDir::separator());
    window->chkShowRepeatedLinks->click();
    EXPECT_EQ(window->focusWidget(), window->cmdListFiles);
}

TEST_F(MainWindowTest, FocusStaysBeforeStartUpHasCompleted)
{
    window->show();
    window->cmdHelp->setFocus();
    window->FocusNextButton();
    EXPECT_EQ(window->focusWidget(), window->cmdHelp);
}

TEST_F(MainWindowTest, AMissingProgramTextFileEndsStartUpWithACriticalBox)
{
    TempTree empty;
    window = std::make_unique<frmMain>(fake, empty.root());
    fake.ExpectBox(Answer::Ok);
    start(false);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, QStringLiteral("Cannot open file containing program text.\r\n")
                                      + empty.root() + QStringLiteral("qln.dat"));
    EXPECT_EQ(fake.boxes[0].title, QString());
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Stop);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, ABrokenProgramTextFileNamesItsLine)
{
    TempTree folder;
    folder.file(QStringLiteral("qln.dat"), "1=one\n2=two\n1=again\n");
    window = std::make_unique<frmMain>(fake, folder.root());
    fake.ExpectBox(Answer::Ok);
    start(false);
    EXPECT_EQ(fake.boxes[0].text, QStringLiteral("Duplicate in program text at line 3."));
}

TEST_F(MainWindowTest, EnableControlsLeavesQuitAndLabelsAlone)
{
    start();
    window->EnableControls(false);
    for (QWidget *control : std::initializer_list<QWidget *>{
             window->txbTopFolder, window->txbExcludedFilepaths, window->txbExcludedLinks,
             window->txbExcludedSubfolders, window->chkIncludePHPfiles, window->chkTopFolderOnly,
             window->chkShowRepeatedLinks, window->cmdListFiles, window->cmdCheckLinks,
             window->cmdHelp, window->cmdTopFolder, window->cboClear, window->cboSettings})
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_TRUE(window->cmdQuit->isEnabled());
    EXPECT_TRUE(window->lblTotalNumFilesOrBrokenLinks->isEnabled());
    window->EnableControls(true);
    EXPECT_TRUE(window->cmdListFiles->isEnabled());
}

TEST_F(MainWindowTest, StopAsksFirstWithNoAsTheDefault)
{
    start();
    fake.ExpectBox(Answer::No);
    window->cmdStop_Click();
    EXPECT_FALSE(window->blnStop);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, QStringLiteral("Really stop?"));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Stop"));
    EXPECT_EQ(fake.boxes[0].buttons, Interaction::Buttons::YesNo);
    EXPECT_EQ(fake.boxes[0].defaultButton, Answer::No);

    fake.ExpectBox(Answer::Yes);
    window->cmdStop_Click();
    EXPECT_TRUE(window->blnStop);
}

} // namespace quillan::test
