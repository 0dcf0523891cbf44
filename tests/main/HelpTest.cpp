#include "gui/MainWindowTest.h"
#include "windows/ClickableLabel.h"
#include "windows/Twips.h"
#include "windows/frmView.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace quillan::test {

namespace {

// One pixel's worth of twips: positions pass through whole pixels.
constexpr int kPixelTwips = 15;

const QString kManual = QStringLiteral("https://velquor.example/qln/qln.htm");
const QString kMakerSite = QStringLiteral("https://velquor.example/");
const QString kFailureHead = QStringLiteral("Error launching web browser, error code =");

void click(QWidget *widget)
{
    const QPointF at(2, 2);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

using HelpTest = MainWindowTest;

TEST_F(HelpTest, ShowsTheHelpFileBesideTheMainWindowWithoutTheCopyButton)
{
    start();
    frmView *view = window->view();
    window->view2()->show();
    twips::Move(window.get(), 900, 700);

    window->cmdHelp_Click();

    const QString helpFile = programFolder() + QDir::separator() + QStringLiteral("qln-help.txt");
    EXPECT_EQ(view->strFilename, helpFile);
    EXPECT_TRUE(view->isVisible());
    EXPECT_FALSE(window->view2()->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Help for Quillan"));
    EXPECT_FALSE(view->cmdCopyToClipboard->isVisible());
    EXPECT_EQ(view->txbText1->font().pointSize(), 10);
    EXPECT_TRUE(view->blnFileDisplayed);

    QFile file(helpFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString firstLine = QString::fromUtf8(file.readLine()).trimmed();
    EXPECT_TRUE(view->txbText1->toPlainText().startsWith(firstLine));

    EXPECT_NEAR(twips::Left(window.get()), 100, kPixelTwips);
    EXPECT_NEAR(twips::Top(window.get()), 700, kPixelTwips);
    EXPECT_NEAR(twips::Left(view), twips::Left(window.get()) + twips::Width(window.get()),
                kPixelTwips);
    EXPECT_NEAR(twips::Top(view), twips::Top(window.get()), kPixelTwips);
    EXPECT_NEAR(twips::Width(view), twips::Width(window.get()), kPixelTwips);
    EXPECT_NEAR(twips::Height(view), twips::Height(window.get()), kPixelTwips);
}

// The help text is the user's only guide inside the program: it has to name
// what the program offers and fit the viewer whole.
TEST_F(HelpTest, TheHelpFileDescribesTheWholeProgramAndFitsTheViewer)
{
    QFile file(programFolder() + QDir::separator() + QStringLiteral("qln-help.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());
    EXPECT_LT(help.size(), frmView::kDisplayLimit);
    const char *const topics[] = {
        "List files", "Check links", "Stop", "Quit", "Top folder", "Exclude top subfolders",
        "Exclude filepaths containing", "Exclude links containing",
        "Check links in PHP files as well as HTM files", "Show repeated broken links in a file",
        "Check links in files in top folder only", "Save for next run", "Save to file",
        "Save in both ways", "Load from file", "Excluded top subfolders", "Filepath exclusions",
        "Link exclusions", "All of the above", "files.txt", "links_to.txt", "links_from.txt",
        "nlq.usr", ".usr", "~/.local/share/Quillan", "50,000", "65,530", "pdf htm html",
        "repeated-in-file", "User manual"};
    for (const char *topic : topics)
        EXPECT_TRUE(help.contains(QString::fromUtf8(topic))) << topic;
}

TEST_F(HelpTest, TheLinkLabelsOpenTheManualAndTheMakersSite)
{
    start();
    EXPECT_EQ(window->lblUserManualURL->text(), QStringLiteral("velquor.example/qln/qln.htm"));
    EXPECT_EQ(window->lblUserManualURL->toolTip(),
              QStringLiteral("Click here for the online user manual."));
    EXPECT_FALSE(window->lblVelquorSystems->toolTip().isEmpty());

    click(window->lblUserManualURL);
    click(window->lblVelquorSystems);
    EXPECT_EQ(fake.webAddresses, (QStringList{kManual, kMakerSite}));
    EXPECT_TRUE(fake.boxes.empty());
}

TEST_F(HelpTest, AnAddressThatCannotBeOpenedIsExplained)
{
    start();
    struct Case {
        int result;
        bool manual;
        QString text;
    };
    const Case cases[] = {
        {31, true,
         kFailureHead
             + QStringLiteral(" 31.\r\n\r\nFile extension 'htm' is not associated with any "
                              "application program.")},
        // The site's address ends in a slash: its last part has no extension.
        {31, false,
         kFailureHead
             + QStringLiteral(" 31.\r\n\r\nFile extension '' is not associated with any "
                              "application program.")},
        {8, true, kFailureHead + QStringLiteral(" 8.\r\n\r\nOut of memory.")},
        {2, false, kFailureHead + QStringLiteral(" 2.\r\n\r\nPlease try once more.")},
        {0, true, kFailureHead + QStringLiteral(" 0.")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.result);
        fake.boxes.clear();
        fake.ExpectWebResult(c.result);
        fake.ExpectBox(Interaction::Answer::Ok);
        if (c.manual)
            window->lblUserManualURL_Click();
        else
            window->lblVelquorSystems_Click();
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].text, c.text);
        EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Cannot launch web browser"));
        EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
        EXPECT_EQ(fake.boxes[0].buttons, Interaction::Buttons::Ok);
    }
}

} // namespace quillan::test
