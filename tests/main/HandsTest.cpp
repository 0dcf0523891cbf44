// The main window answers a mouse, a keyboard and assistive technology in
// the same way: every command by each of them, the exclusion boxes tidied
// before a command reads them whichever started it, the wheel never running
// a list's entry, the focus during and after a walk, the web links.

#include "engine/TempTree.h"
#include "gui/Hands.h"
#include "gui/MainWindowTest.h"
#include "gui/WhenReady.h"
#include "windows/ClickableLabel.h"
#include "windows/frmPopUp.h"
#include "windows/frmSelectSubfolders.h"
#include "windows/frmView.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <string>

namespace quillan::test
{
namespace
{

enum class Hand { Mouse, Keyboard, AssistiveTechnology };

std::string HandName(const ::testing::TestParamInfo<Hand> &info)
{
    switch (info.param) {
    case Hand::Mouse:
        return "Mouse";
    case Hand::Keyboard:
        return "Keyboard";
    default:
        return "AssistiveTechnology";
    }
}

// Presses a button or a link with the hand under test: a click, Enter on
// the focused control (Space for a link), or the press action, which leaves
// the focus where it was.
void Press(Hand hand, QWidget *control)
{
    switch (hand) {
    case Hand::Mouse:
        QTest::mouseClick(control, Qt::LeftButton);
        break;
    case Hand::Keyboard:
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, qobject_cast<ClickableLabel *>(control) ? Qt::Key_Space
                                                                         : Qt::Key_Return);
        break;
    case Hand::AssistiveTechnology:
        PressByAssistiveTechnology(control);
        break;
    }
}

class HandsTest : public MainWindowTest
{
protected:
    // Started and active, as the window is when the user works in it.
    void startActive()
    {
        start();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QString status() const { return window->lblTotalNumFilesOrBrokenLinks->text(); }

    // Line `n` (from 0) of the default settings file.
    static QByteArray savedLine(int n)
    {
        return FileBytes(dataFile(QStringLiteral("nlq.usr"))).split('\n').value(n).trimmed();
    }

    // The confirmation that follows a save is closed as soon as it shows.
    void closeConfirmationWhenShown()
    {
        frmPopUp *popUp = window->popUp();
        WhenReady(popUp, [popUp] { return popUp->isVisible(); },
                  [popUp] { popUp->lblMessage_MouseUp(); });
    }

    TempTree site;
};

class EveryHandTest : public HandsTest, public ::testing::WithParamInterface<Hand>
{
};

TEST_P(EveryHandTest, RunsEveryCommandOfTheMainWindow)
{
    const Hand hand = GetParam();
    startActive();
    site.file(QStringLiteral("a.htm"), "<a href=\"gone.htm\">");
    site.file(QStringLiteral("sub/b.htm"));

    fake.ExpectFolder(site.root());
    Press(hand, window->cmdTopFolder);
    EXPECT_EQ(window->txbTopFolder->text(), site.root());

    frmSelectSubfolders *selection = window->selectSubfolders();
    selection->setEventInterval(0);
    WhenReady(
        selection, [selection] { return selection->isVisible() && !selection->isBusy(); },
        [hand, selection] {
            Press(hand, selection->cmdSelectDeselectAllSubfolders[1]);
            Press(hand, selection->cmdAccept);
        });
    Press(hand, window->cmdSelectSubfolders);
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("sub"));

    Press(hand, window->cmdListFiles);
    EXPECT_EQ(status(), QStringLiteral("Sole file: a.htm"));
    EXPECT_TRUE(window->view()->isVisible());

    // Stop, answered Yes, in the middle of a check.
    fake.ExpectBox(Interaction::Answer::Yes);
    fake.onProcessEvents = [this, hand, pressed = false](int) mutable {
        if (!pressed && window->cmdStop->isVisible()) {
            pressed = true;
            Press(hand, window->cmdStop);
        }
    };
    Press(hand, window->cmdCheckLinks);
    fake.onProcessEvents = nullptr;
    EXPECT_EQ(status(), QStringLiteral("Checking of links was stopped."));
    Press(hand, window->cmdCheckLinks);
    EXPECT_EQ(status(), QStringLiteral("There is only one broken local link."));

    Press(hand, window->cmdHelp);
    EXPECT_EQ(window->view()->windowTitle(), QStringLiteral("Help for Quillan"));

    window->cboSettings->setCurrentIndex(0);
    closeConfirmationWhenShown();
    Press(hand, window->cmdSettings);
    EXPECT_EQ(savedLine(1), QByteArrayLiteral("\"sub\""));

    window->cboClear->setCurrentIndex(1);
    Press(hand, window->cmdClear);
    EXPECT_TRUE(window->txbExcludedSubfolders->toPlainText().isEmpty());

    Press(hand, window->lblUserManualURL);
    Press(hand, window->lblVelquorSystems);
    EXPECT_EQ(fake.webAddresses.size(), 2);

    Press(hand, window->cmdQuit);
    EXPECT_TRUE(window->isQuitting());
}

INSTANTIATE_TEST_SUITE_P(Hands, EveryHandTest,
                         ::testing::Values(Hand::Mouse, Hand::Keyboard,
                                           Hand::AssistiveTechnology),
                         HandName);

TEST_F(HandsTest, AnExclusionBoxTheUserTypedInIsTidiedBeforeAnyCommandReadsIt)
{
    startActive();
    site.file(QStringLiteral("a.htm"), "<a href=\"gone.htm\">");
    window->txbTopFolder->setText(site.root());
    const auto type = [this](const QString &text) {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QTest::mouseClick(window->txbExcludedLinks, Qt::LeftButton);
        window->txbExcludedLinks->clear();
        QTest::keyClicks(window->txbExcludedLinks, text);
        ASSERT_TRUE(window->txbExcludedLinks->hasFocus());
    };

    // Untidied, the empty entry between the commas would exclude every link.
    type(QStringLiteral("#top,,mailto"));
    PressByAssistiveTechnology(window->cmdCheckLinks);
    EXPECT_EQ(status(), QStringLiteral("There is only one broken local link."));
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral(", #top, mailto"));

    type(QStringLiteral("b,,a"));
    window->cboSettings->setCurrentIndex(0);
    closeConfirmationWhenShown();
    PressByAssistiveTechnology(window->cmdSettings);
    EXPECT_EQ(savedLine(3), QByteArrayLiteral("\", a, b\""));

    // The list's menu opened by assistive technology keeps the focus in the
    // box; an entry picked there saves the tidy text as well.
    type(QStringLiteral("d,,c"));
    PressByAssistiveTechnology(window->cboSettings);
    ASSERT_TRUE(window->cboSettings->view()->isVisible());
    closeConfirmationWhenShown();
    QTest::keyClick(window->cboSettings->view(), Qt::Key_Return);
    EXPECT_EQ(savedLine(3), QByteArrayLiteral("\", c, d\""));

    // Text loaded from a settings file is not the user's typing: it stays as
    // it was loaded until the user leaves the box.
    QFile file(dataFile(QStringLiteral("nlq.usr")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"" + site.root().toUtf8() + "\"\r\n\"\"\r\n\"\"\r\n\"y,,x\"\r\n 0 \r\n 0 \r\n 0 \r\n");
    file.close();
    window->LoadSettings(dataFile(QStringLiteral("nlq.usr")));
    ASSERT_EQ(window->txbExcludedLinks->text(), QStringLiteral("y,,x"));
    PressByAssistiveTechnology(window->cmdCheckLinks);
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("y,,x"));
}

TEST_F(HandsTest, TheWheelNeverRunsAListEntryAndLeavesAListWithoutTheFocusAlone)
{
    startActive();
    window->txbExcludedLinks->setText(QStringLiteral("kept"));
    for (QComboBox *list : {window->cboSettings, window->cboClear}) {
        const int before = list->currentIndex();
        TurnWheel(list, -2);
        TurnWheel(list, 1);
        EXPECT_EQ(list->currentIndex(), before);
        EXPECT_EQ(window->focusWidget(), window->cmdHelp);
    }
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_TRUE(fake.fileRequests.empty());
    EXPECT_FALSE(QFile::exists(dataFile(QStringLiteral("nlq.usr"))));

    // With the focus the wheel moves the choice; only the button runs it.
    window->cboClear->setFocus(Qt::TabFocusReason);
    TurnWheel(window->cboClear, -4);
    EXPECT_EQ(window->cboClear->currentText(), QStringLiteral("Link exclusions"));
    TurnWheel(window->cboClear, -3);
    EXPECT_EQ(window->cboClear->currentText(), QStringLiteral("All of the above"));
    TurnWheel(window->cboClear, 1);
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("kept"));
    QTest::mouseClick(window->cmdClear, Qt::LeftButton);
    EXPECT_TRUE(window->txbExcludedLinks->text().isEmpty());
}

TEST_F(HandsTest, DuringAWalkOnlyStopAndQuitActAndAfterItTheFocusFollowsTheRule)
{
    startActive();
    site.file(QStringLiteral("a.htm"), "<a href=\"gone.htm\">");
    window->txbTopFolder->setText(site.root());
    for (QPushButton *command : {window->cmdCheckLinks, window->cmdListFiles}) {
        SCOPED_TRACE(command->text().toStdString());
        QWidget *focusDuringWalk = nullptr;
        fake.ExpectBox(Interaction::Answer::No); // Space on the focused control asks to stop
        fake.onProcessEvents = [&](int) {
            if (focusDuringWalk || !window->cmdStop->isVisible())
                return;
            focusDuringWalk = window->focusWidget();
            ASSERT_NE(focusDuringWalk, nullptr);
            QTest::keyClick(focusDuringWalk, Qt::Key_Space);
            for (ClickableLabel *link : {window->lblUserManualURL, window->lblVelquorSystems}) {
                QTest::mouseClick(link, Qt::LeftButton);
                PressByAssistiveTechnology(link);
            }
        };
        QTest::mouseClick(command, Qt::LeftButton);
        fake.onProcessEvents = nullptr;
        EXPECT_EQ(focusDuringWalk, window->cmdStop);
        EXPECT_TRUE(fake.webAddresses.isEmpty());
        EXPECT_EQ(window->focusWidget(), window->cmdListFiles);
    }
    EXPECT_EQ(status(), QStringLiteral("Sole file: a.htm"));
}

TEST_F(HandsTest, AWebLinkOpensOnceForALeftClickOrADoubleClickAndNeverForAnotherButton)
{
    startActive();
    ClickableLabel *link = window->lblVelquorSystems;
    QTest::mouseClick(link, Qt::RightButton);
    QTest::mouseClick(link, Qt::MiddleButton);
    EXPECT_TRUE(fake.webAddresses.isEmpty());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(fake.webAddresses.size(), 1);
    // A double click arrives as a click, then a press that is also reported
    // as a double click, then the release.
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseDClick(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton);
    EXPECT_EQ(fake.webAddresses.size(), 2);
    // A press that leaves the link before the release opens nothing.
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(fake.webAddresses.size(), 2);
}

} // namespace
} // namespace quillan::test
