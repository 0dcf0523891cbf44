// Every window the program shows, at every font size a user may choose:
// every text shows whole, nothing lies over anything else, everything can be
// named by assistive technology. And the main window by the keyboard alone.

#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "gui/WhenReady.h"
#include "gui/WindowChecks.h"
#include "util/WebLink.h"
#include "windows/ClickableLabel.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"
#include "windows/frmSelectSubfolders.h"
#include "windows/frmView.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

namespace quillan::test
{
namespace
{

// The height rule: the window ends below its last row by the margin it
// leaves above its first, whatever its frame.
void ExpectEndsAMarginBelowItsLastRow(const QWidget *window)
{
    int firstTop = window->height();
    int lastBottom = 0;
    for (const QWidget *child : window->findChildren<const QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || child->isHidden())
            continue;
        firstTop = qMin(firstTop, child->y());
        lastBottom = qMax(lastBottom, child->geometry().bottom() + 1);
    }
    EXPECT_GT(firstTop, 0);
    EXPECT_NEAR(window->height() - lastBottom, firstTop, 2);
}

// 0 stands for the desktop's own font.
class MainWindowLayoutTest : public MainWindowTest, public ::testing::WithParamInterface<qreal>
{
protected:
    void SetUp() override
    {
        font.emplace(GetParam());
        MainWindowTest::SetUp();
        start();
        for (int i = 1; i <= 20; ++i)
            site.file(QStringLiteral("section%1/page.htm").arg(i, 2, 10, QLatin1Char('0')),
                      "<a href=\"missing.htm\">x</a>");
        window->txbTopFolder->setText(site.root());
        window->ShowNumExcludedSubfolders();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        font.reset();
    }

    std::optional<ApplicationFontSize> font;
    TempTree site;
};

TEST_P(MainWindowLayoutTest, EveryWindowShowsItsTextsWholeWithoutOverlapsAndNamesItsControls)
{
    ExpectWellLaidOut(window.get());
    EXPECT_NEAR(twips::Left(window.get()), 100, 15);
    ExpectEndsAMarginBelowItsLastRow(window.get());
    // During a walk Stop stands in the button row too.
    window->cmdStop->show();
    ExpectWellLaidOut(window.get());
    window->cmdStop->hide();

    frmSelectSubfolders *selection = window->selectSubfolders();
    selection->setEventInterval(0);
    // Checked once it has read the subfolders.
    WhenReady(
        selection, [selection] { return selection->isVisible() && !selection->isBusy(); },
        [selection] {
            ExpectWellLaidOut(selection);
            selection->cmdCancel->click();
        });
    window->cmdSelectSubfolders->click();

    window->cmdListFiles->click();
    frmView *view = window->view();
    ASSERT_TRUE(view->isVisible());
    ExpectWellLaidOut(view);
    // A selection makes the copy button read its longer caption.
    view->txbText1->selectAll();
    view->txbText1_MouseUp();
    ASSERT_EQ(view->cmdCopyToClipboard->text(), frmView::kCopySelectedCaption);
    ExpectWellLaidOut(view);

    window->cmdCheckLinks->click();
    // The status line shows, and is read as, the summary.
    ASSERT_EQ(window->lblTotalNumFilesOrBrokenLinks->text(),
              QStringLiteral("There are 20 broken local links."));
    ExpectWellLaidOut(window.get());
    for (frmView *view : {window->view(), window->view2()}) {
        ASSERT_TRUE(view->isVisible());
        ExpectWellLaidOut(view);
    }

    window->cmdHelp->click();
    ASSERT_TRUE(window->view()->isVisible());
    ExpectWellLaidOut(window->view());

    frmPopUp *popUp = window->popUp();
    WhenReady(
        popUp, [popUp] { return popUp->isVisible(); },
        [popUp] {
            ExpectWellLaidOut(popUp);
            popUp->lblMessage_MouseUp();
        });
    window->cboSettings->setCurrentIndex(0);
    window->cmdSettings->click();
}

INSTANTIATE_TEST_SUITE_P(Fonts, MainWindowLayoutTest, kFontSizes, FontSizeName);

TEST_F(MainWindowTest, TabVisitsEveryControlOnceInReadingOrderAndTheLinksOpenFromTheKeyboard)
{
    start();
    const QList<QWidget *> readingOrder{window->cmdTopFolder,
                                        window->txbTopFolder,
                                        window->txbExcludedSubfolders,
                                        window->txbExcludedFilepaths,
                                        window->txbExcludedLinks,
                                        window->chkIncludePHPfiles,
                                        window->chkShowRepeatedLinks,
                                        window->chkTopFolderOnly,
                                        window->chkReadAsBrowser,
                                        window->cmdListFiles,
                                        window->cmdCheckLinks,
                                        window->cmdHelp,
                                        window->cmdQuit,
                                        window->txbFileBeingScanned,
                                        window->cmdSettings,
                                        window->cboSettings,
                                        window->cmdClear,
                                        window->cboClear,
                                        window->lblUserManualURL,
                                        window->lblVelquorSystems};
    // Every control a user can reach is in the list (the subfolder button
    // waits for a top folder, Stop for a walk).
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (control->isVisible() && control->isEnabled() &&
            (control->focusPolicy() & Qt::TabFocus)) {
            EXPECT_TRUE(readingOrder.contains(control)) << control->metaObject()->className();
        }
    }

    // From start-up (the focus on Help) round the whole window and back.
    ASSERT_EQ(window->focusWidget(), window->cmdHelp);
    QList<QWidget *> visited = TabChain(window->cmdHelp);
    const qsizetype help = readingOrder.indexOf(window->cmdHelp);
    EXPECT_EQ(visited, readingOrder.mid(help) + readingOrder.mid(0, help));

    for (auto [link, key] : {std::pair{window->lblUserManualURL, Qt::Key_Return},
                             std::pair{window->lblVelquorSystems, Qt::Key_Space}}) {
        link->setFocus(Qt::TabFocusReason);
        QTest::keyClick(link, key);
    }
    // A viewer: the text, with its caret, then its two buttons.
    TempTree site;
    site.file(QStringLiteral("a.htm"));
    window->txbTopFolder->setText(site.root());
    window->cmdListFiles->click();
    frmView *view = window->view();
    EXPECT_EQ(TabChain(view->txbText1),
              (QList<QWidget *>{view->txbText1, view->cmdCopyToClipboard, view->cmdClose}));

    // Assistive technology sees a link and presses it.
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(window->lblVelquorSystems);
    ASSERT_TRUE(link && link->actionInterface());
    EXPECT_EQ(link->role(), QAccessible::Link);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    const QString maker = window->GetProgramText(6);
    EXPECT_EQ(fake.webAddresses, (QStringList{UserManualAddress(maker), maker, maker}));
}

TEST_F(MainWindowTest, ADesktopFontChangedWhileRunningRearrangesTheWindows)
{
    start();
    // Under a window manager the rule is applied again with the frame known.
    WaitForFrame(window.get());
    TempTree site;
    site.file(QStringLiteral("a/page.htm"));
    window->txbTopFolder->setText(site.root());
    window->cmdListFiles->click();
    // Larger, then smaller again.
    std::optional<ApplicationFontSize> font;
    for (const qreal points : {16.0, 24.0, 8.0}) {
        SCOPED_TRACE(points);
        font.reset();
        font.emplace(points);
        LetTheDesktopAnswer();
        for (QWidget *shown :
             {static_cast<QWidget *>(window.get()), static_cast<QWidget *>(window->view())})
            ExpectWellLaidOut(shown);
        ExpectEndsAMarginBelowItsLastRow(window.get());
    }
}

} // namespace
} // namespace quillan::test
