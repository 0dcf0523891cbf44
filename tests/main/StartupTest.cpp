#include "gui/MainWindowTest.h"

#include "engine/TempTree.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>

namespace quillan::test {

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
        fake.ExpectBox(Interaction::Answer::Ok);
        start(false);
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, text);
        EXPECT_EQ(fake.boxes[0].title, QString());
        EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Stop);
        EXPECT_FALSE(window->isVisible());
    }
}

} // namespace quillan::test
