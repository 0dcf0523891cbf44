#include "engine/TempTree.h"
#include "gui/FakeInteraction.h"
#include "util/StrProc.h"
#include "windows/Twips.h"
#include "windows/frmSelectSubfolders.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>

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
    void open(const QString &topFolder, const QString &passed = QString())
    {
        window->blnFolderSelectionAccepted = false;
        window->strCaption = QStringLiteral("Select top subfolders to exclude from the scan");
        window->strTopFolder = topFolder;
        window->intMaxNumCheckboxes = 13;
        window->blnOmitTotalFilesize = true;
        window->strFoldersPassedToSelectFoldersForm = passed;
        twips::Resize(window, 8650, 5000);
        window->show();
        window->Form_Activate();
    }

    // Subfolders "sub0000", "sub0001", ... each holding one page.
    static void makeSubfolders(TempTree &tree, int count)
    {
        for (int i = 0; i < count; ++i)
            tree.file(QStringLiteral("sub%1/page.htm").arg(i, 4, 10, QLatin1Char('0')));
    }

    QCheckBox *row(int k) const { return window->chkSubfolder[k]; }
    QString caption(int k) const { return row(k)->text().replace(QStringLiteral("&&"), QStringLiteral("&")); }
    QString summary() const { return window->lblNumSubfolders->text(); }
    QList<int> checked() const
    {
        return window->survey().intChecked.mid(0, window->survey().intNumSubfolders);
    }

    QPointer<frmSelectSubfolders> window;
};

TEST_F(SelectSubfoldersTest, PassedNamesAreTickedIgnoringCaseAndSpaces)
{
    TempTree tree;
    for (const char *name : {"Alpha/a.htm", "beta/b.htm", "gamma/inner/c.htm"})
        tree.file(QString::fromLatin1(name));
    tree.folder(QStringLiteral("empty"));

    open(tree.root(), QStringLiteral("  ALPHA \r\n\r\nbeta\r\nmissing\r\nEmpty\r\n"));
    ASSERT_FALSE(window->isBusy());
    // Alpha, beta, empty, gamma: the empty one is never ticked in advance.
    EXPECT_EQ(checked(), (QList<int>{1, 1, 0, 0}));
    EXPECT_TRUE(row(0)->isChecked());
    EXPECT_TRUE(row(1)->isChecked());
    EXPECT_FALSE(row(2)->isChecked());
    EXPECT_EQ(summary(), QStringLiteral("2 selected (of 4)."));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Select top subfolders to exclude from the scan"));

    // A passed name without a subfolder is gone from the result.
    window->cmdAccept->click();
    EXPECT_TRUE(window->blnFolderSelectionAccepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->strFoldersReturnedFromSelectFoldersForm, QStringLiteral("Alpha\r\nbeta\r\n"));
    EXPECT_FALSE(window->blnSomeSubfolderHasSubfolders);

    open(tree.root(), QStringLiteral("gamma"));
    window->cmdAccept->click();
    EXPECT_EQ(window->strFoldersReturnedFromSelectFoldersForm, QStringLiteral("gamma\r\n"));
    EXPECT_TRUE(window->blnSomeSubfolderHasSubfolders);
}

TEST_F(SelectSubfoldersTest, EmptyAndRefusedRowsCannotBeTickedByClickOrSelectAll)
{
    TempTree tree;
    tree.file(QStringLiteral("docs/a.htm"));
    tree.folder(QStringLiteral("empty"));
    // The words are looked for in the whole caption, a name included.
    tree.file(QStringLiteral("permission denied here/b.htm"));
    tree.file(QStringLiteral("zeta/c.htm"));
    open(tree.root());
    ASSERT_EQ(caption(1), QStringLiteral("empty {no files and no subfolders}"));
    ASSERT_EQ(caption(2), QStringLiteral("permission denied here {1 file and no subfolders}"));

    row(1)->click();
    row(2)->click();
    EXPECT_FALSE(row(1)->isChecked());
    EXPECT_FALSE(row(2)->isChecked());
    EXPECT_EQ(checked(), (QList<int>{0, 0, 0, 0}));
    EXPECT_EQ(summary(), QStringLiteral("No subfolders selected."));

    window->cmdSelectDeselectAllSubfolders[1]->click();
    EXPECT_EQ(checked(), (QList<int>{1, 0, 0, 1}));
    EXPECT_TRUE(row(0)->isChecked());
    EXPECT_FALSE(row(1)->isChecked());
    EXPECT_FALSE(row(2)->isChecked());
    EXPECT_EQ(summary(), QStringLiteral("2 selected (of 4)."));

    window->cmdSelectDeselectAllSubfolders[0]->click();
    EXPECT_EQ(checked(), (QList<int>{0, 0, 0, 0}));
    EXPECT_FALSE(row(0)->isChecked());
}

TEST_F(SelectSubfoldersTest, SummaryTextsOverFifteenHundredSubfolders)
{
    TempTree tree;
    makeSubfolders(tree, 1500);
    open(tree.root());
    EXPECT_EQ(window->chkSubfolder.size(), 13);
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

TEST_F(SelectSubfoldersTest, ASingleTickedSubfolderIsNotTheAllForm)
{
    TempTree tree;
    makeSubfolders(tree, 1);
    open(tree.root());
    window->cmdSelectDeselectAllSubfolders[1]->click();
    EXPECT_EQ(summary(), QStringLiteral("One subfolder selected."));
    EXPECT_FALSE(window->vsbScrollBar->isVisible());
}

TEST_F(SelectSubfoldersTest, ThirteenRowsPageThroughTwentySubfolders)
{
    TempTree tree;
    makeSubfolders(tree, 20);
    open(tree.root());

    QScrollBar *bar = window->vsbScrollBar;
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 7);
    EXPECT_EQ(bar->pageStep(), 12);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(window->chkSubfolder.size(), 13);
    EXPECT_NEAR(twips::Height(window->picSubfolders), 13 * frmSelectSubfolders::kRowHeight, 15);
    EXPECT_NEAR(twips::Height(window), twips::Height(window->picSubfolders) + 1400, 15);

    row(0)->click();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 7);
    EXPECT_EQ(window->firstShown(), 7);
    EXPECT_EQ(caption(0), QStringLiteral("sub0007 {1 file and no subfolders}"));
    EXPECT_EQ(caption(12), QStringLiteral("sub0019 {1 file and no subfolders}"));
    EXPECT_FALSE(row(0)->isChecked());

    row(12)->click();
    EXPECT_EQ(checked()[19], 1);

    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(row(0)->isChecked());
    EXPECT_EQ(caption(0), QStringLiteral("sub0000 {1 file and no subfolders}"));

    window->cmdAccept->click();
    EXPECT_EQ(window->strFoldersReturnedFromSelectFoldersForm,
              QStringLiteral("sub0000\r\nsub0019\r\n"));
}

TEST_F(SelectSubfoldersTest, AcceptWithNothingTickedReturnsAnEmptyText)
{
    TempTree tree;
    makeSubfolders(tree, 20);
    open(tree.root());
    window->strFoldersReturnedFromSelectFoldersForm = QStringLiteral("stale\r\n");
    window->cmdAccept->click();
    EXPECT_TRUE(window->blnFolderSelectionAccepted);
    EXPECT_EQ(window->strFoldersReturnedFromSelectFoldersForm, QString());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->chkSubfolder.size(), 1);

    // The next show starts afresh from the passed names.
    open(tree.root(), QStringLiteral("sub0003"));
    EXPECT_EQ(window->chkSubfolder.size(), 13);
    EXPECT_EQ(window->vsbScrollBar->value(), 0);
    EXPECT_TRUE(row(3)->isChecked());
}

TEST_F(SelectSubfoldersTest, TheTitleBarCloseAsksForAcceptOrCancelAndReturnsNothing)
{
    TempTree tree;
    makeSubfolders(tree, 3);
    open(tree.root());
    row(0)->click();
    fake.ExpectBox(Interaction::Answer::Ok);
    window->close();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              QStringLiteral("Please exit this window only by clicking on 'Accept' or 'Cancel'."));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Select Folders"));
    EXPECT_EQ(fake.boxes[0].buttons, Interaction::Buttons::Ok);
    EXPECT_FALSE(window->blnFolderSelectionAccepted);
    EXPECT_TRUE(window->strFoldersReturnedFromSelectFoldersForm.isEmpty());
    // Closed from the title bar, the window is unloaded.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(SelectSubfoldersTest, CancelDuringTheSurveyStopsIt)
{
    TempTree tree;
    makeSubfolders(tree, 5);
    fake.onProcessEvents = [this](int) { window->cmdCancel->click(); };
    open(tree.root());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->blnFolderSelectionAccepted);
    EXPECT_TRUE(window->isBusy());
    EXPECT_EQ(window->survey().intNumSubfolders, 1);
}

TEST_F(SelectSubfoldersTest, CancelReturnsNoAcceptanceAndIsTheOnlyButtonWhileBusy)
{
    TempTree tree;
    tree.file(QStringLiteral("index.htm"));
    open(tree.root());
    // Without subfolders the window stays busy, showing no rows.
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isBusy());
    EXPECT_EQ(summary(), QString());
    window->cmdAccept->click();
    window->cmdSelectDeselectAllSubfolders[1]->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->blnFolderSelectionAccepted);

    window->blnFolderSelectionAccepted = true;
    window->cmdCancel->click();
    EXPECT_FALSE(window->blnFolderSelectionAccepted);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SelectSubfoldersTest, AnUnreadableTopFolderIsReportedAndTheWindowHides)
{
    TempTree tree;
    fake.ExpectBox(Interaction::Answer::Ok);
    open(tree.path(QStringLiteral("missing")));
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Select subfolders"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_FALSE(fake.boxes[0].text.isEmpty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->blnFolderSelectionAccepted);
}

TEST_F(SelectSubfoldersTest, LongNamesAreShortenedAndAmpersandsShownAsTheyAre)
{
    TempTree tree;
    const QString longName(100, u'n');
    tree.file(longName + QStringLiteral("/a.htm"));
    tree.file(QStringLiteral("R&D/b.htm"));
    open(tree.root(), QStringLiteral("r&d"));
    const QString details = QStringLiteral("{1 file and no subfolders}");
    EXPECT_EQ(caption(0), QString(84 - details.size(), u'n') + QStringLiteral(" ... ") + details);
    EXPECT_EQ(row(1)->text(), QStringLiteral("R&&D ") + details);
    row(0)->click();
    window->cmdAccept->click();
    EXPECT_EQ(window->strFoldersReturnedFromSelectFoldersForm,
              longName + kCrLf + QStringLiteral("R&D") + kCrLf);
}

TEST_F(SelectSubfoldersTest, ResizingKeepsThePictureLeftOfTheScrollBar)
{
    TempTree tree;
    makeSubfolders(tree, 20);
    open(tree.root());
    const int rowWidth = row(0)->width();
    window->resize(window->width() + 150, window->height());
    window->Form_Resize();
    EXPECT_LE(window->picSubfolders->geometry().right(), window->vsbScrollBar->geometry().left());
    EXPECT_NEAR(twips::Width(window->picSubfolders),
                twips::Width(window) - 500 - twips::Width(window->vsbScrollBar), 15);
    EXPECT_EQ(row(0)->width(), rowWidth);
}

} // namespace
} // namespace quillan::test
