#include "windows/frmView.h"

#include "engine/TempTree.h"
#include "gui/FakeInteraction.h"
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

TEST_F(ViewerTest, ShowsAFileBelowTheLimitWhole)
{
    const QByteArray content = QByteArray(65529 - 2, 'a') + "\r\n";
    show(content);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->blnFileDisplayed);
    EXPECT_TRUE(viewer->txbText1->isReadOnly());
    EXPECT_EQ(viewer->txbText1->toPlainText(), QString(65527, u'a') + u'\n');
    EXPECT_EQ(viewer->txbText1->textCursor().position(), 0);
}

TEST_F(ViewerTest, CutsAFileAtTheLimitBetweenTheTwoNotes)
{
    const QString content = QString(65530, u'b');
    const QString shown = frmView::DisplayText(content);
    EXPECT_EQ(frmView::kHeadNote.size(), 168);
    EXPECT_EQ(frmView::kTailNote.size(), 56);
    EXPECT_EQ(shown.size(), 65534);
    EXPECT_TRUE(shown.startsWith(frmView::kHeadNote + QString(65306, u'b') + QStringLiteral("\r\n\r\n")));
    EXPECT_TRUE(shown.endsWith(frmView::kTailNote));
    EXPECT_EQ(frmView::DisplayText(QString(65529, u'b')), QString(65529, u'b'));

    show(content.toLatin1());
    EXPECT_TRUE(viewer->txbText1->toPlainText().startsWith(
        QStringLiteral("NOTE: This file is too large to display entirely in this textbox.\n")));
}

TEST_F(ViewerTest, AnEmptyFileIsReportedAndTheWindowHides)
{
    fake.ExpectBox(Answer::Ok);
    show(QByteArray());
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, texts.GetProgramText(17));
    EXPECT_EQ(fake.boxes[0].title, texts.GetProgramText(52));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(viewer->blnFileDisplayed); // not repeated at the next activation
}

TEST_F(ViewerTest, AMissingFileIsReportedWithItsErrorNumber)
{
    fake.ExpectBox(Answer::Ok);
    const QString missing = folder.path(QStringLiteral("missing.txt"));
    open(missing);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, QStringLiteral("Error 53.  File not found: ") + missing);
    EXPECT_EQ(fake.boxes[0].title, texts.GetProgramText(53));
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(ViewerTest, AMouseSelectionWidensTheCopyButtonAndCopiesOnlyTheSelection)
{
    show("first line\r\nsecond line\r\n");
    select(0, 5);
    viewer->txbText1_MouseUp();
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy selected text to clipboard"));
    EXPECT_NEAR(twips::Width(viewer->cmdCopyToClipboard), frmView::kCopySelectedWidth, 15);

    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("first"));
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
    EXPECT_NEAR(twips::Width(viewer->cmdCopyToClipboard), frmView::kCopyWidth, 15);
    EXPECT_EQ(viewer->focusWidget(), viewer->cmdClose);

    // A selection across lines keeps its line break.
    select(6, 17);
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("line\nsecond"));
}

TEST_F(ViewerTest, AKeyboardSelectionLeavesTheCaptionButIsCopied)
{
    show("abc def");
    select(4, 7); // no mouse release follows
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("def"));
}

TEST_F(ViewerTest, WithoutASelectionEverythingIsCopied)
{
    show("all\r\nof it");
    viewer->txbText1_MouseUp();
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboard, QStringLiteral("all\nof it"));
}

TEST_F(ViewerTest, AnEmptyTextBoxCopiesNothing)
{
    viewer->show();
    viewer->cmdCopyToClipboard_Click();
    EXPECT_EQ(fake.clipboardWrites, 0);
    EXPECT_EQ(viewer->focusWidget(), viewer->cmdClose);
}

TEST_F(ViewerTest, TheHelpStyleHidesTheCopyButton)
{
    viewer->blnCopyToClipboardInvisible = true;
    show("help");
    EXPECT_FALSE(viewer->cmdCopyToClipboard->isVisible());
    select(0, 2);
    viewer->txbText1_MouseUp(); // the hidden button keeps its caption
    EXPECT_EQ(viewer->cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
}

TEST_F(ViewerTest, SpringsBackToItsMinimumSize)
{
    show("x");
    twips::Resize(viewer.get(), 3000, 1000);
    viewer->Form_Resize();
    EXPECT_GE(twips::Width(viewer.get()), frmView::kMinWidth - 15);
    EXPECT_GE(twips::Height(viewer.get()), frmView::kMinHeight - 15);

    twips::Resize(viewer.get(), 10000, 5000);
    viewer->Form_Resize();
    EXPECT_NEAR(twips::Width(viewer->txbText1), twips::Width(viewer.get()) - 450, 15);
    EXPECT_NEAR(twips::Height(viewer->txbText1), twips::Height(viewer.get()) - 1200, 15);
    // Close's right edge lines up with the text box's.
    EXPECT_EQ(viewer->cmdClose->geometry().right(), viewer->txbText1->geometry().right());
    EXPECT_EQ(viewer->cmdClose->y(), viewer->cmdCopyToClipboard->y());
}

TEST_F(ViewerTest, CloseHidesAndKeepsTheTextWhileTheCloseBoxForgetsIt)
{
    show("kept");
    viewer->cmdClose_Click();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_TRUE(viewer->blnFileDisplayed);
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
    EXPECT_EQ(view->txbText1->font().pointSize(), 10);
    EXPECT_TRUE(view->cmdCopyToClipboard->isVisible());
}

} // namespace quillan::test
