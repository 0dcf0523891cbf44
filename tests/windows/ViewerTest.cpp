#include "windows/frmView.h"

#include "engine/TempTree.h"
#include "gui/FakeInteraction.h"
#include "gui/Hands.h"
#include "text/ProgramText.h"
#include "windows/Twips.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
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

    // Where the text box shows the gap before character `position`.
    QPoint pointAt(int position) const
    {
        QTextCursor cursor(viewer->txbText1->document());
        cursor.setPosition(position);
        return viewer->txbText1->cursorRect(cursor).center();
    }

    // A click and a shift-click.
    void selectByMouse(int from, int to)
    {
        QWidget *area = viewer->txbText1->viewport();
        QTest::mouseClick(area, Qt::LeftButton, {}, pointAt(from));
        QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, pointAt(to));
    }

    ProgramTextTable texts;
    TempTree folder;
    std::unique_ptr<frmView> viewer;
};

} // namespace

TEST_F(ViewerTest, ShowsUpTo65529CharactersWholeAndCutsLongerFilesBetweenTwoNotes)
{
    EXPECT_EQ(frmView::DisplayText(QString(65529, u'b')), QString(65529, u'b'));
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
    QTest::mouseClick(viewer->cmdCopyToClipboard, Qt::LeftButton); // the text box is empty
    EXPECT_EQ(fake.clipboardWrites, 0);

    show("first line\r\nsecond line");
    QPlainTextEdit *text = viewer->txbText1;
    const QString plain = QStringLiteral("Copy to clipboard");
    const QString selected = QStringLiteral("Copy selected text to clipboard");
    const auto caption = [this] { return viewer->cmdCopyToClipboard->text(); };
    const auto copy = [this] { QTest::mouseClick(viewer->cmdCopyToClipboard, Qt::LeftButton); };

    // Selected by keyboard: the caption stays as it is; the selection is copied.
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(text, Qt::Key_Right);
    QTest::keyClick(text, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(text, Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(caption(), plain);
    copy();
    EXPECT_EQ(fake.clipboard, QStringLiteral("line\nsecond line"));

    // Selected by mouse: the button widens, then copies only the selection.
    selectByMouse(0, 5);
    EXPECT_EQ(caption(), selected);
    EXPECT_NEAR(twips::Width(viewer->cmdCopyToClipboard), frmView::kCopySelectedWidth, 15);
    copy();
    EXPECT_EQ(fake.clipboard, QStringLiteral("first"));
    EXPECT_EQ(caption(), plain);
    EXPECT_NEAR(twips::Width(viewer->cmdCopyToClipboard), frmView::kCopyWidth, 15);
    EXPECT_EQ(viewer->focusWidget(), viewer->cmdClose);

    // A click inside the selection clears it once the button is released.
    selectByMouse(0, 5);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, pointAt(2));
    EXPECT_FALSE(text->textCursor().hasSelection());
    EXPECT_EQ(caption(), plain);
    copy();
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

TEST_F(ViewerTest, EnterAClickAndThePressActionEachRunCopyAndClose)
{
    show("line one\r\nline two\r\n");
    int writes = 0;
    for (const ButtonPress &press : EveryWayOfPressing()) {
        press(viewer->cmdCopyToClipboard);
        EXPECT_EQ(fake.clipboardWrites, ++writes);
        EXPECT_TRUE(viewer->isVisible());
        press(viewer->cmdClose);
        EXPECT_FALSE(viewer->isVisible());
        viewer->ShowModeless();
    }
    EXPECT_EQ(fake.clipboard, QStringLiteral("line one\nline two\n"));
}

} // namespace quillan::test
