#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "settings/TargetFileTypes.h"
#include "windows/Twips.h"

#include <QAccessible>
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
    EXPECT_FALSE(window->cmdStop->isVisible());
    EXPECT_EQ(window->focusWidget(), window->cmdHelp);
    EXPECT_EQ(window->strCheckableFileTypes, DefaultCheckableFileTypes());
    EXPECT_EQ(window->lngMaxNumFiles, 50000);
    EXPECT_EQ(window->lngMaxNumLinks, 50000);
    EXPECT_EQ(window->cboSettings->currentIndex(), 0);
    EXPECT_EQ(window->cboClear->currentIndex(), -1);
    EXPECT_FALSE(window->chkIncludePHPfiles->isChecked());
    // The window ends a little below the Settings button.
    const int bottom = twips::Top(window->cmdSettings) + twips::Height(window->cmdSettings) + 600;
    EXPECT_NEAR(twips::Height(window.get()), bottom, 15);
    EXPECT_NEAR(twips::Left(window.get()), 100, 15);
}

TEST_F(MainWindowTest, ACheckBoxMovesTheFocusToTheNextButtonToPressOnceStartedUp)
{
    window->show();
    window->cmdHelp->setFocus();
    window->FocusNextButton();
    EXPECT_EQ(window->focusWidget(), window->cmdHelp);

    start();
    window->chkIncludePHPfiles->click();
    EXPECT_EQ(window->focusWidget(), window->cmdTopFolder);
    window->txbTopFolder->setText(QDir::tempPath() + QDir::separator());
    window->chkShowRepeatedLinks->click();
    EXPECT_EQ(window->focusWidget(), window->cmdListFiles);
}

TEST_F(MainWindowTest, AScreenReaderReadsEveryLabelAsTheTextItShowsTheStatusToo)
{
    start();
    TempTree site;
    site.file(QStringLiteral("a.htm"));
    site.file(QStringLiteral("b.htm"));
    window->txbTopFolder->setText(site.root());
    window->cmdListFiles->click();
    ASSERT_EQ(window->lblTotalNumFilesOrBrokenLinks->text(), QStringLiteral("Number of files: 2"));
    const auto labels = window->findChildren<QLabel *>();
    EXPECT_EQ(labels.size(), 8);
    for (QLabel *label : labels) {
        QAccessibleInterface *readable = QAccessible::queryAccessibleInterface(label);
        ASSERT_NE(readable, nullptr);
        EXPECT_EQ(readable->text(QAccessible::Name), label->text());
    }
}

TEST_F(MainWindowTest, AMissingOrBrokenProgramTextFileEndsStartUpWithACriticalBox)
{
    TempTree folder;
    const QString missing = QStringLiteral("Cannot open file containing program text.\r\n")
                            + folder.root() + QStringLiteral("qln.dat");
    for (const auto &[content, text] :
         {std::pair{QByteArray(), missing},
          std::pair{QByteArray("1=one\n2=two\n1=again\n"),
                    QStringLiteral("Duplicate in program text at line 3.")}}) {
        if (!content.isEmpty())
            folder.file(QStringLiteral("qln.dat"), content);
        window = std::make_unique<frmMain>(fake, folder.root());
        fake.boxes.clear();
        fake.ExpectBox(Answer::Ok);
        start(false);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, text);
        EXPECT_EQ(fake.boxes[0].title, QString());
        EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Stop);
        EXPECT_FALSE(window->isVisible());
    }
}

TEST_F(MainWindowTest, EnableControlsLeavesQuitAlone)
{
    start();
    window->EnableControls(false);
    // One control of each kind it switches.
    for (QWidget *control : std::initializer_list<QWidget *>{
             window->txbTopFolder, window->txbExcludedSubfolders, window->chkTopFolderOnly,
             window->cmdCheckLinks, window->cboSettings})
        EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
    EXPECT_TRUE(window->cmdQuit->isEnabled());
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
