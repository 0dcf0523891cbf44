#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "windows/Twips.h"
#include "windows/frmSelectSubfolders.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <functional>

namespace quillan::test {
namespace {

using SelectionAction = std::function<void(frmSelectSubfolders &)>;

// Runs `act` on the selection window once its activation is over, from
// inside its modal show; a window that never gets ready is cancelled. The
// survey lets events run after every subfolder, so a try goes by each time.
void whenSelectionReady(frmMain *main, const SelectionAction &act, int triesLeft = 100000)
{
    QTimer::singleShot(0, main, [main, act, triesLeft] {
        frmSelectSubfolders *selection = main->selectSubfolders();
        if (selection->isVisible() && !selection->isBusy()) {
            act(*selection);
            return;
        }
        if (triesLeft <= 0) {
            ADD_FAILURE() << "the selection window never became ready";
            selection->cmdCancel->click();
            return;
        }
        whenSelectionReady(main, act, triesLeft - 1);
    });
}

class SubfoldersTest : public MainWindowTest
{
protected:
    void setTopFolder(const QString &folder)
    {
        window->txbTopFolder->setText(folder);
        window->ShowNumExcludedSubfolders();
    }

    void setExcluded(const QStringList &names)
    {
        ScanState &scan = window->scan();
        scan.strExcludedSubfolders = names.isEmpty() ? QStringList{QString()} : names;
        scan.intNumExcludedSubfolders = int(names.size());
        window->txbExcludedSubfolders->setPlainText(names.join(QStringLiteral("\r\n")));
        window->ShowNumExcludedSubfolders();
    }

    QStringList excluded() const
    {
        const ScanState &scan = window->scan();
        return scan.strExcludedSubfolders.mid(0, scan.intNumExcludedSubfolders);
    }

    QString label() const { return window->lblNumExcludedTopSubfolders->text(); }
    QString text(int n) const { return window->GetProgramText(n); }

    // Opens the selection window as the button does, doing `act` in it.
    void selectSubfolders(const SelectionAction &act)
    {
        whenSelectionReady(window.get(), act);
        window->selectSubfolders()->setEventInterval(0);
        window->cmdSelectSubfolders_Click();
    }
};

TEST_F(SubfoldersTest, WithoutATopFolderTheButtonIsOffAndAsksForOne)
{
    start();
    EXPECT_FALSE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_TRUE(window->lblNumExcludedTopSubfolders->isHidden());

    fake.ExpectBox(Interaction::Answer::Ok);
    window->cmdSelectSubfolders_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, text(23));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Exclude top subfolders"));
    EXPECT_EQ(fake.boxes[0].buttons, Interaction::Buttons::Ok);
}

TEST_F(SubfoldersTest, ATopFolderWithoutSubfoldersOrUnreadableTurnsTheButtonOff)
{
    TempTree tree;
    tree.file(QStringLiteral("old/a.htm"));
    start();
    setTopFolder(tree.root());
    setExcluded({QStringLiteral("old")});
    EXPECT_TRUE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_TRUE(window->txbExcludedSubfolders->isEnabled());
    EXPECT_EQ(label(), text(26));

    // Stored exclusions do not keep the button on once the last subfolder is gone.
    QDir(tree.path(QStringLiteral("old"))).removeRecursively();
    window->ShowNumExcludedSubfolders();
    EXPECT_FALSE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_FALSE(window->txbExcludedSubfolders->isEnabled());
    EXPECT_FALSE(window->lblNumExcludedTopSubfolders->isHidden());
    EXPECT_EQ(label(), text(29));

    setTopFolder(tree.path(QStringLiteral("missing/")));
    EXPECT_FALSE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_EQ(label(), text(29));
}

TEST_F(SubfoldersTest, TheLabelCountsTheExcludedInWords)
{
    TempTree tree;
    tree.folder(QStringLiteral("sub"));
    start();
    setTopFolder(tree.root());
    EXPECT_TRUE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_EQ(label(), text(25));

    const auto labelFor = [&](int count) {
        QStringList names;
        for (int i = 0; i < count; ++i)
            names.append(QStringLiteral("n%1").arg(i));
        setExcluded(names);
        return label();
    };
    EXPECT_EQ(labelFor(1), text(26));
    EXPECT_EQ(labelFor(3), QStringLiteral("Three ") + text(27));
    EXPECT_EQ(labelFor(21), QStringLiteral("Twenty one ") + text(27));
    EXPECT_EQ(labelFor(100), QStringLiteral("100 ") + text(27));
    EXPECT_EQ(labelFor(1234), QStringLiteral("1,234 ") + text(27));

    window->lblTotalNumFilesOrBrokenLinks->setText(QStringLiteral("Number of files: 3"));
    window->ShowNumExcludedSubfolders();
    EXPECT_EQ(window->lblTotalNumFilesOrBrokenLinks->text(), QString());
}

TEST_F(SubfoldersTest, TicksOnSeveralPagesBecomeTheExclusionsThatListFilesLeavesOut)
{
    TempTree tree;
    tree.file(QStringLiteral("index.htm"));
    for (int i = 0; i < 1500; ++i)
        tree.file(QStringLiteral("sub%1/page.htm").arg(i, 4, 10, QLatin1Char('0')));
    start();
    setTopFolder(tree.root());

    selectSubfolders([](frmSelectSubfolders &selection) {
        QScrollBar *bar = selection.vsbScrollBar;
        ASSERT_EQ(bar->maximum(), 1500 - 13);
        selection.chkSubfolder[1]->click();
        bar->setValue(700);
        selection.chkSubfolder[0]->click();
        bar->setValue(bar->maximum());
        selection.chkSubfolder[12]->click();
        EXPECT_EQ(selection.lblNumSubfolders->text(), QStringLiteral("3 selected (of 1,500)."));
        selection.cmdAccept->click();
    });

    const QStringList expected{QStringLiteral("sub0001"), QStringLiteral("sub0700"),
                               QStringLiteral("sub1499")};
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText().split(u'\n'), expected);
    EXPECT_EQ(excluded(), expected);
    EXPECT_EQ(label(), QStringLiteral("Three ") + text(27));

    window->cmdListFiles_Click();
    QFile list(dataFile(QStringLiteral("files.txt")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    const QString listed = QString::fromLocal8Bit(list.readAll());
    EXPECT_FALSE(listed.contains(QStringLiteral("sub0001/page.htm")));
    EXPECT_FALSE(listed.contains(QStringLiteral("sub0700/page.htm")));
    EXPECT_FALSE(listed.contains(QStringLiteral("sub1499/page.htm")));
    EXPECT_TRUE(listed.contains(QStringLiteral("sub0000/page.htm")));
    EXPECT_TRUE(listed.contains(QStringLiteral("sub1498/page.htm")));
    EXPECT_TRUE(listed.contains(QStringLiteral("index.htm")));
}

TEST_F(SubfoldersTest, TheWindowOpensNearTheButtonWithThePresentExclusionsTicked)
{
    TempTree tree;
    for (const char *name : {"a/x.htm", "b/x.htm", "c/x.htm"})
        tree.file(QString::fromLatin1(name));
    start();
    setTopFolder(tree.root());
    setExcluded({QStringLiteral("a"), QStringLiteral("c")});

    frmMain *main = window.get();
    selectSubfolders([main, this](frmSelectSubfolders &selection) {
        EXPECT_EQ(selection.windowTitle(), text(24));
        EXPECT_EQ(selection.strFoldersPassedToSelectFoldersForm, QStringLiteral("a\r\nc"));
        EXPECT_EQ(selection.intMaxNumCheckboxes, 13);
        EXPECT_TRUE(selection.blnOmitTotalFilesize);
        const int left = twips::Left(main) + twips::Left(main->cmdSelectSubfolders) + 50;
        EXPECT_NEAR(twips::Left(&selection), left, 15);
        EXPECT_NEAR(twips::Top(&selection),
                    twips::Top(main) + twips::Top(main->cmdSelectSubfolders) - 150, 15);
        EXPECT_NEAR(twips::Width(&selection), twips::Width(main) + twips::Left(main) - left - 150, 15);
        EXPECT_TRUE(selection.chkSubfolder[0]->isChecked());
        EXPECT_FALSE(selection.chkSubfolder[1]->isChecked());
        EXPECT_TRUE(selection.chkSubfolder[2]->isChecked());
        selection.cmdCancel->click();
    });
    EXPECT_EQ(excluded(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
}

TEST_F(SubfoldersTest, VanishedNamesSurviveCancelButNotAccept)
{
    TempTree tree;
    tree.file(QStringLiteral("kept/x.htm"));
    start();
    setTopFolder(tree.root());
    setExcluded({QStringLiteral("gone"), QStringLiteral("kept")});

    selectSubfolders([](frmSelectSubfolders &selection) { selection.cmdCancel->click(); });
    EXPECT_EQ(excluded(), (QStringList{QStringLiteral("gone"), QStringLiteral("kept")}));
    EXPECT_EQ(label(), QStringLiteral("Two ") + text(27));

    selectSubfolders([](frmSelectSubfolders &selection) { selection.cmdAccept->click(); });
    EXPECT_EQ(excluded(), QStringList{QStringLiteral("kept")});
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("kept"));
    EXPECT_EQ(label(), text(26));

    // Accepting nothing ticked clears the exclusions.
    selectSubfolders([](frmSelectSubfolders &selection) {
        selection.cmdSelectDeselectAllSubfolders[0]->click();
        selection.cmdAccept->click();
    });
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QString());
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
    EXPECT_EQ(label(), text(25));
}

TEST_F(SubfoldersTest, ClosingFromTheTitleBarChangesNothingAndTheNextOpenStartsAfresh)
{
    TempTree tree;
    tree.file(QStringLiteral("a/x.htm"));
    tree.file(QStringLiteral("b/x.htm"));
    start();
    setTopFolder(tree.root());
    setExcluded({QStringLiteral("a")});

    QPointer<frmSelectSubfolders> first = window->selectSubfolders();
    selectSubfolders([this](frmSelectSubfolders &selection) {
        selection.chkSubfolder[1]->click();
        fake.ExpectBox(Interaction::Answer::Ok);
        selection.close();
    });
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Select Folders"));
    EXPECT_EQ(excluded(), QStringList{QStringLiteral("a")});

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    selectSubfolders([](frmSelectSubfolders &selection) {
        selection.chkSubfolder[1]->click();
        selection.cmdAccept->click();
    });
    EXPECT_EQ(excluded(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

} // namespace
} // namespace quillan::test
