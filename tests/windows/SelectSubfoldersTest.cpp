#include "engine/TempTree.h"
#include "gui/FakeInteraction.h"
#include "gui/Hands.h"
#include "gui/WindowChecks.h"
#include "util/StrProc.h"
#include "windows/Twips.h"
#include "windows/frmSelectSubfolders.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <utility>

namespace quillan::test {
namespace {

class SelectSubfoldersTest : public GuiTest
{
protected:
    void SetUp() override
    {
        window = new frmSelectSubfolders(fake);
        window->setEventInterval(0);
    }
    void TearDown() override
    {
        delete window.data();
        GuiTest::TearDown();
    }

    // Sets the window up as the main window does and runs its activation.
    void open(const QString &passed = QString())
    {
        window->blnFolderSelectionAccepted = false;
        window->strCaption = QStringLiteral("Select top subfolders to exclude from the scan");
        window->strTopFolder = top;
        window->intMaxNumCheckboxes = 13;
        window->blnOmitTotalFilesize = true;
        window->strFoldersPassedToSelectFoldersForm = passed;
        twips::Resize(window, 8650, 5000);
        window->show();
        window->Form_Activate();
    }

    // Subfolders "sub0000", "sub0001", ... each holding one page.
    void openOver(int count)
    {
        for (int i = 0; i < count; ++i)
            tree.file(QStringLiteral("sub%1/page.htm").arg(i, 4, 10, QLatin1Char('0')));
        open();
    }

    QCheckBox *row(int k) const { return window->chkSubfolder[k]; }
    // A click on the row's box, where the mouse really ticks it.
    void clickRow(int k) const
    {
        QTest::mouseClick(row(k), Qt::LeftButton, {}, QPoint(row(k)->height() / 2, row(k)->height() / 2));
    }
    // The captions and ticks of the rows in use.
    QStringList captions() const
    {
        QStringList texts;
        for (int k = 0; k < window->numCheckboxesShown(); ++k)
            texts << caption(k);
        return texts;
    }
    QList<int> ticks() const
    {
        QList<int> values;
        for (int k = 0; k < window->numCheckboxesShown(); ++k)
            values << (row(k)->isChecked() ? 1 : 0);
        return values;
    }
    QString caption(int k) const
    {
        return row(k)->text().replace(QStringLiteral("&&"), QStringLiteral("&"));
    }
    QString summary() const { return window->lblNumSubfolders->text(); }
    QString returned() const { return window->strFoldersReturnedFromSelectFoldersForm; }
    QList<int> checked() const
    {
        return window->survey().intChecked.mid(0, window->survey().intNumSubfolders);
    }

    TempTree tree;
    QString top = tree.root();
    QPointer<frmSelectSubfolders> window;
};

TEST_F(SelectSubfoldersTest, PassedNamesAreTickedButEmptyAndRefusedRowsNeverAre)
{
    for (const char *name : {"Alpha/a.htm", "beta/b.htm", "gamma/inner/c.htm"})
        tree.file(QString::fromLatin1(name));
    // In name order "Empty" comes before "beta", in the window after it.
    tree.folder(QStringLiteral("Empty"));
    // The words are looked for in the whole caption, a name included.
    tree.file(QStringLiteral("permission denied here/d.htm"));
    open(QStringLiteral("  ALPHA \r\n\r\nbeta\r\nmissing\r\nempty\r\npermission denied here\r\n"));
    ASSERT_FALSE(window->isBusy());
    EXPECT_EQ(checked(), (QList<int>{1, 1, 0, 0, 0}));
    EXPECT_TRUE(row(1)->isChecked() && !row(2)->isChecked());
    EXPECT_EQ(summary(), QStringLiteral("2 selected (of 5)."));

    window->cmdSelectDeselectAllSubfolders[0]->click();
    row(2)->click();
    row(4)->click();
    EXPECT_EQ(checked(), (QList<int>{0, 0, 0, 0, 0}));
    EXPECT_FALSE(row(0)->isChecked() || row(2)->isChecked() || row(4)->isChecked());
    EXPECT_EQ(summary(), QStringLiteral("No subfolders selected."));

    window->cmdSelectDeselectAllSubfolders[1]->click();
    EXPECT_EQ(checked(), (QList<int>{1, 1, 0, 1, 0}));
    EXPECT_TRUE(row(3)->isChecked() && !row(2)->isChecked() && !row(4)->isChecked());
    // A passed name without a subfolder is gone from the result.
    window->cmdAccept->click();
    EXPECT_TRUE(window->blnFolderSelectionAccepted);
    EXPECT_EQ(returned(), QStringLiteral("Alpha\r\nbeta\r\ngamma\r\n"));
    EXPECT_TRUE(window->blnSomeSubfolderHasSubfolders);

    open(QStringLiteral("beta"));
    window->cmdAccept->click();
    EXPECT_EQ(returned(), QStringLiteral("beta\r\n"));
    EXPECT_FALSE(window->blnSomeSubfolderHasSubfolders);
}

TEST_F(SelectSubfoldersTest, SummaryTextsOverFifteenHundredSubfolders)
{
    openOver(1500);
    EXPECT_EQ(window->vsbScrollBar->maximum(), 1487);
    EXPECT_EQ(summary(), QStringLiteral("No subfolders selected."));
    row(0)->click();
    EXPECT_EQ(summary(), QStringLiteral("One subfolder selected."));
    window->cmdSelectDeselectAllSubfolders[1]->click();
    EXPECT_EQ(summary(), QStringLiteral("All 1500 subfolders selected."));
    window->vsbScrollBar->setValue(1487);
    row(12)->click();
    EXPECT_EQ(summary(), QStringLiteral("1,499 selected (of 1,500)."));
    EXPECT_EQ(checked()[1499], 0);
}

TEST_F(SelectSubfoldersTest, ThirteenRowsPageThroughTwentySubfoldersAndAreReadAndTabbedInOrder)
{
    openOver(20);
    const auto name = [](QWidget *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    QScrollBar *bar = window->vsbScrollBar;
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ((QList<int>{bar->minimum(), bar->maximum(), bar->pageStep(), bar->singleStep()}),
              (QList<int>{0, 7, 12, 1}));
    EXPECT_EQ(window->chkSubfolder.size(), 13);

    // Assistive technology reads the summary and the rows as they show.
    EXPECT_EQ(name(window->lblNumSubfolders), QStringLiteral("No subfolders selected."));
    clickRow(0);
    EXPECT_EQ(name(window->lblNumSubfolders), QStringLiteral("One subfolder selected."));
    EXPECT_EQ(name(row(12)), QStringLiteral("sub0012 {1 file and no subfolders}"));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(window->firstShown(), 7);
    EXPECT_EQ(caption(0), QStringLiteral("sub0007 {1 file and no subfolders}"));
    EXPECT_EQ(caption(12), QStringLiteral("sub0019 {1 file and no subfolders}"));
    EXPECT_EQ(name(row(12)), QStringLiteral("sub0019 {1 file and no subfolders}"));
    EXPECT_FALSE(row(0)->isChecked());

    // Tab runs down the rows, then reaches the scroll bar and the buttons.
    QStringList tabOrder;
    QWidget *w = row(0);
    do {
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus))
            tabOrder << name(w).section(u' ', 0, 0);
        w = w->nextInFocusChain();
    } while (w != row(0));
    EXPECT_EQ(tabOrder.mid(11), (QStringList{QStringLiteral("sub0018"), QStringLiteral("sub0019"),
                                             QStringLiteral("Scroll"), QStringLiteral("Select"),
                                             QStringLiteral("Deselect"), QStringLiteral("Accept"),
                                             QStringLiteral("Cancel")}));
    row(12)->click();
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(row(0)->isChecked());

    // Resizing keeps the rows' picture left of the scroll bar.
    window->resize(window->width() + 150, window->height());
    window->Form_Resize();
    EXPECT_NEAR(twips::Width(window->picSubfolders), twips::Width(window) - 500 - twips::Width(bar), 15);
    EXPECT_LE(window->picSubfolders->geometry().right(), bar->geometry().left());

    window->cmdAccept->click();
    EXPECT_EQ(returned(), QStringLiteral("sub0000\r\nsub0019\r\n"));

    // The next show starts afresh from the names passed to it.
    open(QStringLiteral("sub0003"));
    EXPECT_EQ(checked().count(1), 1);
    EXPECT_TRUE(row(3)->isChecked());
}

TEST_F(SelectSubfoldersTest, ANewShowOnFewerSubfoldersStartsAtTheFirstRowWhereverTheLastOneWasScrolled)
{
    for (int i = 0; i < 20; ++i)
        tree.file(QStringLiteral("big/sub%1/page.htm").arg(i, 2, 10, QLatin1Char('0')));
    for (const char *name : {"small/a/p.htm", "small/b/p.htm", "small/c/p.htm"})
        tree.file(QString::fromLatin1(name));
    tree.folder(QStringLiteral("small/d"));
    const QStringList smallCaptions{
        QStringLiteral("a {1 file and no subfolders}"), QStringLiteral("b {1 file and no subfolders}"),
        QStringLiteral("c {1 file and no subfolders}"), QStringLiteral("d {no files and no subfolders}")};

    for (int position : {1, 7}) {
        SCOPED_TRACE(position);
        top = tree.path(QStringLiteral("big"));
        open();
        window->vsbScrollBar->setValue(position);
        QTest::mouseClick(window->cmdCancel, Qt::LeftButton);

        top = tree.path(QStringLiteral("small"));
        open();
        EXPECT_FALSE(window->vsbScrollBar->isVisible());
        QTest::mouseClick(window->cmdSelectDeselectAllSubfolders[1], Qt::LeftButton);
        EXPECT_EQ(captions(), smallCaptions);
        EXPECT_EQ(ticks(), (QList<int>{1, 1, 1, 0}));
        EXPECT_EQ(summary(), QStringLiteral("3 selected (of 4)."));
        clickRow(0);
        clickRow(3);
        EXPECT_EQ(ticks(), (QList<int>{0, 1, 1, 0}));
        EXPECT_EQ(summary(), QStringLiteral("2 selected (of 4)."));
        QTest::mouseClick(window->cmdAccept, Qt::LeftButton);
        EXPECT_EQ(returned(), QStringLiteral("b\r\nc\r\n"));
    }
}

TEST_F(SelectSubfoldersTest, RowsTickedByKeyboardAccessibilityOrCodeCountLikeClicks)
{
    for (const char *name : {"a/p.htm", "b/p.htm", "c/p.htm", "d/p.htm"})
        tree.file(QString::fromLatin1(name));
    tree.folder(QStringLiteral("empty"));
    open();
    const auto act = [this](int k, const QString &action) {
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(row(k));
        ASSERT_TRUE(box && box->actionInterface());
        box->actionInterface()->doAction(action);
    };

    act(0, QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(summary(), QStringLiteral("One subfolder selected."));
    QTest::keyClick(row(1), Qt::Key_Space);
    EXPECT_EQ(summary(), QStringLiteral("2 selected (of 5)."));
    row(2)->setChecked(true);
    row(3)->toggle();
    // An empty subfolder cannot be ticked by any of these either.
    act(4, QAccessibleActionInterface::toggleAction());
    QTest::keyClick(row(4), Qt::Key_Space);
    row(4)->setChecked(true);
    EXPECT_EQ(ticks(), (QList<int>{1, 1, 1, 1, 0}));
    EXPECT_EQ(summary(), QStringLiteral("4 selected (of 5)."));
    act(0, QAccessibleActionInterface::toggleAction());
    QTest::keyClick(row(3), Qt::Key_Space);
    EXPECT_EQ(summary(), QStringLiteral("2 selected (of 5)."));
    QTest::mouseClick(window->cmdAccept, Qt::LeftButton);
    EXPECT_EQ(returned(), QStringLiteral("b\r\nc\r\n"));
}

TEST_F(SelectSubfoldersTest, AnUnreadableTopFolderOrCancelReturnsNoAcceptance)
{
    top = tree.path(QStringLiteral("missing"));
    fake.ExpectBox(Interaction::Answer::Ok);
    open();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Select subfolders"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->blnFolderSelectionAccepted);

    top = tree.root();
    tree.file(QStringLiteral("index.htm"));
    open();
    // Without subfolders the window stays busy, showing no rows; only Cancel works.
    EXPECT_TRUE(window->isBusy());
    EXPECT_EQ(summary(), QString());
    window->cmdAccept->click();
    window->cmdSelectDeselectAllSubfolders[1]->click();
    EXPECT_TRUE(window->isVisible());
    window->blnFolderSelectionAccepted = true;
    window->cmdCancel->click();
    EXPECT_FALSE(window->blnFolderSelectionAccepted);
    EXPECT_FALSE(window->isVisible());

    fake.onProcessEvents = [this](int) { window->cmdCancel->click(); };
    openOver(5);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->blnFolderSelectionAccepted);
    EXPECT_EQ(window->survey().intNumSubfolders, 1);
}

TEST_F(SelectSubfoldersTest, ShortenedAndAmpersandNamesComeBackWhole)
{
    const QString longName(100, u'n');
    tree.file(longName + QStringLiteral("/a.htm"));
    tree.file(QStringLiteral("R&D/b.htm"));
    open(QStringLiteral("r&d"));
    EXPECT_TRUE(caption(0).contains(QStringLiteral(" ... ")));
    EXPECT_EQ(row(1)->text(), QStringLiteral("R&&D {1 file and no subfolders}"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(row(1))->text(QAccessible::Name),
              QStringLiteral("R&D {1 file and no subfolders}"));
    row(0)->click();
    window->cmdAccept->click();
    EXPECT_EQ(returned(), longName + kCrLf + QStringLiteral("R&D") + kCrLf);
}

TEST_F(SelectSubfoldersTest, KeysOnTheScrollBarPageWithoutMovingTheFocusWhichTheMouseSendsToAccept)
{
    openOver(20);
    QScrollBar *bar = window->vsbScrollBar;
    clickRow(0);
    bar->setFocus(Qt::TabFocusReason);
    for (auto [key, first] : {std::pair{Qt::Key_Down, 1}, std::pair{Qt::Key_Down, 2},
                              std::pair{Qt::Key_PageDown, 7}, std::pair{Qt::Key_Home, 0}}) {
        QTest::keyClick(bar, key);
        EXPECT_EQ(window->firstShown(), first);
        EXPECT_TRUE(bar->hasFocus()) << "after key " << key;
    }
    // Space on the scroll bar does nothing; the tick stays.
    QTest::keyClick(bar, Qt::Key_Space);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(checked().count(1), 1);

    // A click below the slider pages down, and the focus goes to Accept.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3 * bar->width() / 2));
    EXPECT_GT(window->firstShown(), 0);
    EXPECT_TRUE(window->cmdAccept->hasFocus());
}

TEST_F(SelectSubfoldersTest, EnterAClickAndThePressActionEachRunEveryButton)
{
    for (const char *name : {"a/p.htm", "b/p.htm"})
        tree.file(QString::fromLatin1(name));
    for (const ButtonPress &press : EveryWayOfPressing()) {
        open();
        press(window->cmdSelectDeselectAllSubfolders[1]);
        EXPECT_EQ(summary(), QStringLiteral("All 2 subfolders selected."));
        press(window->cmdSelectDeselectAllSubfolders[0]);
        EXPECT_EQ(summary(), QStringLiteral("No subfolders selected."));
        clickRow(1);
        press(window->cmdAccept);
        EXPECT_FALSE(window->isVisible());
        EXPECT_TRUE(window->blnFolderSelectionAccepted);
        EXPECT_EQ(returned(), QStringLiteral("b\r\n"));

        open();
        press(window->cmdCancel);
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(window->blnFolderSelectionAccepted);
    }
}

// Enter on a row ticks nothing and presses no hidden default button.
TEST_F(SelectSubfoldersTest, EnterOnARowPressesNoButton)
{
    openOver(2);
    row(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(row(0), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(summary(), QStringLiteral("No subfolders selected."));
}

// At every font size a user may choose: every text shows whole, nothing lies
// over anything else, everything can be named, and the arrangement holds.
class SelectSubfoldersLayoutTest : public ::testing::WithParamInterface<qreal>,
                                   public SelectSubfoldersTest
{
protected:
    ApplicationFontSize font{GetParam()};
};

TEST_P(SelectSubfoldersLayoutTest, OnTwentyOneSubfoldersTheWindowKeepsItsArrangement)
{
    tree.file(QString(100, u'n') + QStringLiteral("/page.htm")); // a shortened caption
    openOver(20);
    ASSERT_FALSE(window->isBusy());
    ExpectWellLaidOut(window);

    // The rows are as high as the first check box, the window as high as
    // they are and its allowance below them, which holds at least the design
    // 1400 twips.
    const int height = twips::Height(row(0));
    EXPECT_GE(height, frmSelectSubfolders::kRowHeight);
    for (int k = 1; k < 13; ++k)
        EXPECT_EQ(row(k)->y(), row(k - 1)->geometry().bottom() + 1);
    EXPECT_NEAR(twips::Height(window->picSubfolders), 13 * height, 15 * 13);
    EXPECT_GE(twips::Height(window) - twips::Height(window->picSubfolders), 1400 - 15);

    // The buttons in one row 700 twips above the bottom; the summary midway
    // between the rows and the buttons.
    QPushButton *selectAll = window->cmdSelectDeselectAllSubfolders[1];
    for (QWidget *button : std::initializer_list<QWidget *>{
             window->cmdSelectDeselectAllSubfolders[0], window->cmdAccept, window->cmdCancel})
        EXPECT_EQ(button->y(), selectAll->y());
    EXPECT_NEAR(twips::Height(window) - twips::Top(selectAll) - twips::Height(selectAll), 700, 15);
    EXPECT_NEAR(twips::Top(window->lblNumSubfolders),
                (twips::Top(window->picSubfolders) + twips::Height(window->picSubfolders)
                 + twips::Top(window->cmdCancel)) / 2,
                15);
    EXPECT_LE(window->picSubfolders->geometry().bottom(), window->lblNumSubfolders->y());

    // The longest summaries fit as well as the first.
    selectAll->click();
    ExpectWellLaidOut(window);
    row(0)->click();
    window->vsbScrollBar->setValue(window->vsbScrollBar->maximum());
    EXPECT_EQ(summary(), QStringLiteral("20 selected (of 21)."));
    ExpectWellLaidOut(window);
}

INSTANTIATE_TEST_SUITE_P(Fonts, SelectSubfoldersLayoutTest, kFontSizes, FontSizeName);

} // namespace
} // namespace quillan::test
