#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "windows/ClickableLabel.h"
#include "windows/Twips.h"
#include "windows/frmView.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace quillan::test {

using HelpTest = MainWindowTest;

TEST_F(HelpTest, ShowsTheWholeHelpFileBesideTheMainWindowWithoutTheCopyButton)
{
    start();
    frmView *view = window->view();
    window->view2()->show();
    twips::Move(window.get(), 900, 700);

    window->cmdHelp_Click();

    // Shown whole: the help has to fit the viewer.
    QString help = QString::fromUtf8(
        FileBytes(programFolder() + QDir::separator() + QStringLiteral("qln-help.txt")));
    ASSERT_FALSE(help.isEmpty());
    help.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(view->txbText1->toPlainText(), help);
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(window->view2()->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Help for Quillan"));
    EXPECT_FALSE(view->cmdCopyToClipboard->isVisible());
    EXPECT_EQ(view->txbText1->font().pointSize(), 10);

    // The main window moves to the left edge and the help stands beside it.
    EXPECT_NEAR(twips::Left(window.get()), 100, 15);
    EXPECT_NEAR(twips::Top(window.get()), 700, 15);
    EXPECT_NEAR(twips::Left(view), twips::Left(window.get()) + twips::Width(window.get()), 15);
    EXPECT_NEAR(twips::Top(view), twips::Top(window.get()), 15);
    EXPECT_NEAR(twips::Width(view), twips::Width(window.get()), 15);
    EXPECT_NEAR(twips::Height(view), twips::Height(window.get()), 15);
}

TEST_F(HelpTest, TheLinkLabelsOpenTheManualAndTheMakersSiteOrSayWhyNot)
{
    start();
    for (QWidget *label : {window->lblUserManualURL, window->lblVelquorSystems})
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(fake.webAddresses, (QStringList{QStringLiteral("https://velquor.example/qln/qln.htm"),
                                              QStringLiteral("https://velquor.example/")}));
    EXPECT_TRUE(fake.boxes.empty());

    // The site's address ends in a slash: its last part has no extension.
    fake.ExpectWebResult(31);
    fake.ExpectBox(Interaction::Answer::Ok);
    window->lblVelquorSystems_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              QStringLiteral("Error launching web browser, error code = 31.\r\n\r\n"
                             "File extension '' is not associated with any application program."));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Cannot launch web browser"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_EQ(fake.boxes[0].buttons, Interaction::Buttons::Ok);
}

} // namespace quillan::test
