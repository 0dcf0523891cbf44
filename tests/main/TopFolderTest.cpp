#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"
#include "settings/TargetFileTypes.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace quillan::test {

using Answer = Interaction::Answer;

namespace {

class TopFolderTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        start();
    }

    void fillExclusions()
    {
        window->txbExcludedSubfolders->setPlainText(QStringLiteral("old"));
        window->scan().intNumExcludedSubfolders = 1;
        window->txbExcludedFilepaths->setText(QStringLiteral("tmp"));
        window->txbExcludedLinks->setText(QStringLiteral("x.htm"));
        window->lblTotalNumFilesOrBrokenLinks->setText(QStringLiteral("Number of files: 3"));
    }

    void pickClear(int index, Answer sure)
    {
        window->cboClear->setCurrentIndex(index);
        fake.ExpectBox(sure);
        window->cboClear_Click();
    }

    TempTree site;
};

} // namespace

TEST_F(TopFolderTest, ChosenFolderGetsOneTrailingSeparatorAndAQuestionOnlyWithExclusions)
{
    QString chosen = site.root();
    chosen.chop(1);
    fake.ExpectFolder(chosen);
    window->cmdTopFolder_Click();
    EXPECT_EQ(window->txbTopFolder->text(), site.root());
    EXPECT_EQ(fake.folderTitles, QStringList{QStringLiteral("Specify top folder")});
    EXPECT_TRUE(fake.boxes.empty());

    // The file-system root keeps its single separator.
    fake.ExpectFolder(QDir::rootPath());
    window->cmdTopFolder_Click();
    EXPECT_EQ(window->txbTopFolder->text(), QDir::toNativeSeparators(QDir::rootPath()));

    // With exclusions, a cancelled dialog changes nothing; a new folder asks
    // whether to keep them.
    window->txbTopFolder->setText(site.root());
    fillExclusions();
    fake.ExpectFolder(QString());
    window->cmdTopFolder_Click();
    EXPECT_EQ(window->txbTopFolder->text(), site.root());
    EXPECT_TRUE(fake.boxes.empty());

    fake.ExpectFolder(site.root());
    fake.ExpectBox(Answer::Yes);
    window->cmdTopFolder_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              QStringLiteral("Keep excluded subfolders, excluded filepaths and excluded links?"));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Top folder"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::None);
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("x.htm"));

    fake.ExpectFolder(site.root());
    fake.ExpectBox(Answer::No);
    window->cmdTopFolder_Click();
    EXPECT_TRUE(window->txbExcludedSubfolders->toPlainText().isEmpty());
    EXPECT_TRUE(window->txbExcludedFilepaths->text().isEmpty());
    EXPECT_TRUE(window->txbExcludedLinks->text().isEmpty());
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
}

TEST_F(TopFolderTest, EachClearEntryAsksFirstAndClearsOnlyItsOwnBoxes)
{
    window->txbTopFolder->setText(site.root());
    fillExclusions();
    // Picks do nothing before start-up has completed.
    window->blnStartupCompleted = false;
    window->cboClear->setCurrentIndex(0);
    window->cboClear_Click();
    EXPECT_TRUE(fake.boxes.empty());
    window->blnStartupCompleted = true;

    pickClear(2, Answer::No);
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("tmp"));
    EXPECT_EQ(fake.boxes[0].text, QStringLiteral("Are you sure?"));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Clear"));

    // Each entry on a full set of boxes: only its own are emptied.
    pickClear(2, Answer::Yes);
    EXPECT_TRUE(window->txbExcludedFilepaths->text().isEmpty());
    EXPECT_TRUE(window->lblTotalNumFilesOrBrokenLinks->text().isEmpty());
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("x.htm"));
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("old"));
    fillExclusions();
    pickClear(3, Answer::Yes);
    EXPECT_TRUE(window->txbExcludedLinks->text().isEmpty());
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("tmp"));
    fillExclusions();
    pickClear(1, Answer::Yes);
    EXPECT_TRUE(window->txbExcludedSubfolders->toPlainText().isEmpty());
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
    EXPECT_EQ(window->txbTopFolder->text(), site.root());
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("x.htm"));
    // Clearing the top folder clears its subfolders with it, nothing else.
    fillExclusions();
    pickClear(0, Answer::Yes);
    EXPECT_TRUE(window->txbTopFolder->text().isEmpty());
    EXPECT_TRUE(window->txbExcludedSubfolders->toPlainText().isEmpty());
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("tmp"));
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("x.htm"));
}

TEST_F(TopFolderTest, ClearingAllAsksTwiceAndClearsOnlyOnYes)
{
    window->txbTopFolder->setText(site.root());
    fillExclusions();
    window->chkTopFolderOnly->setChecked(true);
    fake.ExpectBox(Answer::Yes);    // Are you sure?
    fake.ExpectBox(Answer::Cancel); // clear all the settings?
    window->cboClear->setCurrentIndex(4);
    window->cboClear_Click();
    EXPECT_EQ(window->txbTopFolder->text(), site.root());
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[1].text,
              QStringLiteral("Are you sure you want to clear all the settings?\r\nThis cannot be undone."));
    EXPECT_EQ(fake.boxes[1].title, QStringLiteral("Clear all"));
    EXPECT_EQ(fake.boxes[1].buttons, Interaction::Buttons::YesNoCancel);
    EXPECT_EQ(fake.boxes[1].defaultButton, Answer::Cancel);

    fake.ExpectBox(Answer::Yes);
    window->cmdClear_Click();
    EXPECT_TRUE(window->txbTopFolder->text().isEmpty());
    EXPECT_TRUE(window->txbExcludedSubfolders->toPlainText().isEmpty());
    EXPECT_TRUE(window->txbExcludedFilepaths->text().isEmpty());
    EXPECT_TRUE(window->txbExcludedLinks->text().isEmpty());
    EXPECT_TRUE(window->chkTopFolderOnly->isChecked()); // options are never cleared
    EXPECT_EQ(window->strCheckableFileTypes, DefaultCheckableFileTypes());
}

TEST_F(TopFolderTest, ClearWithNothingPickedStillRefreshesTheSubfolderLabelAndMovesTheFocusOn)
{
    window->txbTopFolder->setText(site.root());
    window->ShowNumExcludedSubfolders();
    ASSERT_FALSE(window->cmdSelectSubfolders->isEnabled());
    site.folder(QStringLiteral("sub"));
    QApplication::setActiveWindow(window.get());
    QTest::mouseClick(window->cmdClear, Qt::LeftButton);
    EXPECT_TRUE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_EQ(window->lblNumExcludedTopSubfolders->text(), window->GetProgramText(25));
    EXPECT_EQ(QApplication::focusWidget(), window->cmdListFiles);
}

TEST_F(TopFolderTest, OnlyAMoveToAnotherControlTidiesTheBoxNotItsMenuOrAnotherWindow)
{
    QLineEdit *box = window->txbExcludedLinks;
    QApplication::setActiveWindow(window.get());
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, QStringLiteral("b,a"));
    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    const auto expectUntouched = [box] {
        EXPECT_EQ(box->text(), QStringLiteral("b,a"));
        EXPECT_EQ(box->selectedText(), QStringLiteral("a"));
        EXPECT_TRUE(box->isUndoAvailable());
    };

    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(box, &menuKey);
    QWidget *menu = QApplication::activePopupWidget();
    ASSERT_NE(menu, nullptr);
    expectUntouched();
    menu->close();
    EXPECT_EQ(QApplication::focusWidget(), box);

    QWidget otherWindow;
    otherWindow.show();
    QApplication::setActiveWindow(&otherWindow);
    expectUntouched();
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(QApplication::focusWidget(), box);
    expectUntouched();

    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), box);
    EXPECT_EQ(box->text(), QStringLiteral("a, b"));
    EXPECT_EQ(window->scan().intNumExcludedLinks, 0) << "a tidy counts nothing";

    // A tidy that changes nothing leaves the box's undo history alone.
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClicks(box, QStringLiteral(", c"));
    QTest::mouseClick(window->txbExcludedFilepaths, Qt::LeftButton);
    EXPECT_EQ(box->text(), QStringLiteral("a, b, c"));
    EXPECT_TRUE(box->isUndoAvailable());

    // The filepath box likewise, left by a command that moves the focus.
    QLineEdit *paths = window->txbExcludedFilepaths;
    QTest::keyClicks(paths, QStringLiteral("Temp, /old/ ,Archive"));
    window->cmdHelp->setFocus();
    QApplication::processEvents();
    const QString sep = QDir::separator();
    EXPECT_EQ(paths->text(), sep + QStringLiteral("old") + sep + QStringLiteral(", Archive, Temp"));
    EXPECT_EQ(window->scan().intNumExcludedFilepaths, 0);
}

} // namespace quillan::test
