#include "windows/frmView.h"

#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "text/ProgramText.h"
#include "windows/Twips.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

namespace quillan::test {

using Answer = Interaction::Answer;

namespace {

class ViewerTest : public GuiTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(texts.LoadFromFile(QStringLiteral(QUILLAN_RESOURCE_DIR "/qln.dat")).ok());
        viewer = std::make_unique<frmView>(fake, texts);
    }

    void show(const QByteArray &content)
    {
        folder.file(QStringLiteral("report.txt"), content);
        open(folder.path(QStringLiteral("report.txt")));
    }

    void open(const QString &path)
    {
        viewer->strFilename = path;
        viewer->blnFileDisplayed = false;
        viewer->ShowModeless();
    }

    void select(int from, int to)
    {
        QTextCursor cursor = viewer->txbText1->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        viewer->txbText1->setTextCursor(cursor);
    }

    ProgramTextTable texts;
    TempTree folder;
    std::unique_ptr<frmView> viewer;
};

} // namespace

TEST_F(ViewerTest, ShowsUpTo65529CharactersWholeAndCutsLongerFilesBetweenTwoNotes)
{
    EXPECT_EQ(frmView::DisplayText(QString(65529, u'b')), QString(65529, u'b'));
    EXPECT_EQ(frmView::kHeadNote.size(), 168);
    EXPECT_EQ(frmView::kTailNote.size(), 56);
    EXPECT_EQ(frmView::DisplayText(QString(65530, u'b')),
              frmView::kHeadNote + QString(65306, u'b') + QStringLiteral("\r\n\r\n")
                  + frmView::kTailNote);

    show(QByteArray(65530, 'b'));
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->txbText1->isReadOnly());
    EXPECT_EQ(viewer->txbText1->textCursor().position(), 0);
    EXPECT_TRUE(viewer->txbText1->toPlainText().startsWith(
        QStringLiteral("NOTE: This file is too large to display entirely in this textbox.\n")));
}

TEST_F(ViewerTest, AnEmptyOrMissingFileIsReportedAndTheWindowHides)
{
    fake.ExpectBox(Answer::Ok);
    show(QByteArray());
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(viewer->blnFileDisplayed); // not repeated at the next activation

    fake.ExpectBox(Answer::Ok);
    const QString missing = folder.path(QStringLiteral("missing.txt"));
    open(missing);
    EXPECT_FALSE(viewer->isVisible());

    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_EQ(fake.boxes[0].text, texts.GetProgramText(17));
    EXPECT_EQ(fake.boxes[0].title, texts.GetProgramText(52));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_EQ(fake.boxes[1].text, QStringLiteral("Error 53.  File not found: ") + missing);
    EXPECT_EQ(fake.boxes[1].title, texts.GetProgramText(53));
}

TEST_F(ViewerTest, CopiesTheSelectionOrElseAllAndOnlyAMouseSelectionWidensTheButton)
{
    viewer->show();
    viewer->cmdCopyToClipboard_Click(); // the text box is empty
    EXPECT_EQ(fake.clipboardWrites, 0);

    show("first line\r\nsecond line");
    select(6, 17); // by keyboard: no mouse release follows
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("line\nsecond"));

    select(0, 5);
    viewer->txbText1_MouseUp();
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(),
              QStringLiteral("Copy selected text to clipboard"));
    EXPECT_NEAR(twips::Width(viewer->cmdCopyToClipboard), frmView::kCopySelectedWidth, 15);
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("first"));
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
    EXPECT_NEAR(twips::Width(viewer->cmdCopyToClipboard), frmView::kCopyWidth, 15);
    EXPECT_EQ(viewer->focusWidget(), viewer->cmdClose);

    select(1, 1);
    viewer->txbText1_MouseUp();
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("first line\nsecond line"));
}

TEST_F(ViewerTest, KeepsItsMinimumSizeAndCloseKeepsTheTextWhileTheCloseBoxForgetsIt)
{
    show("kept");
    twips::Resize(viewer.get(), 3000, 1000);
    viewer->Form_Resize();
    EXPECT_GE(twips::Width(viewer.get()), frmView::kMinWidth - 15);
    EXPECT_GE(twips::Height(viewer.get()), frmView::kMinHeight - 15);

    viewer->cmdClose_Click();
    EXPECT_FALSE(viewer->isVisible());
    QFile::remove(folder.path(QStringLiteral("report.txt")));
    viewer->ShowModeless(); // not reloaded: no error although the file is gone
    EXPECT_EQ(viewer->txbText1->toPlainText(), QStringLiteral("kept"));
    viewer->close();
    EXPECT_FALSE(viewer->blnFileDisplayed);
}

using ViewerPlacementTest = MainWindowTest;

TEST_F(ViewerPlacementTest, TheListOfFilesStandsBesideTheMainWindow)
{
    start();
    TempTree site;
    site.file(QStringLiteral("a.htm"));
    window->txbTopFolder->setText(site.root());
    window->cmdListFiles_Click();
    frmView *view = window->view();
    ASSERT_TRUE(view->isVisible());
    EXPECT_NEAR(twips::Left(view), twips::Left(window.get()) + twips::Width(window.get()), 15);
    EXPECT_NEAR(twips::Top(view), twips::Top(window.get()), 15);
    EXPECT_NEAR(twips::Width(view), twips::Width(window.get()), 15);
    EXPECT_NEAR(twips::Height(view), twips::Height(window.get()), 15);
    EXPECT_TRUE(view->cmdCopyToClipboard->isVisible());
}

} // namespace quillan::test
