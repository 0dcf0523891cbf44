#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "gui/WhenReady.h"
#include "windows/frmSelectSubfolders.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>

namespace quillan::test {
namespace {

using SelectionAction = std::function<void(frmSelectSubfolders &)>;

class SubfoldersTest : public MainWindowTest
{
protected:
    // Makes the tree the top folder with `names` excluded.
    void setTopFolder(const QStringList &names)
    {
        window->txbTopFolder->setText(tree.root());
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

    // Opens the selection window as the button does, doing `act` in it once
    // it has read the subfolders.
    void selectSubfolders(const SelectionAction &act)
    {
        frmSelectSubfolders *selection = window->selectSubfolders();
        selection->setEventInterval(0);
        WhenReady(
            selection, [selection] { return selection->isVisible() && !selection->isBusy(); },
            [selection, act] { act(*selection); });
        window->cmdSelectSubfolders_Click();
    }

    TempTree tree;
};

TEST_F(SubfoldersTest, TheButtonIsOnOnlyForATopFolderWithSubfolders)
{
    start();
    EXPECT_FALSE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_TRUE(window->lblNumExcludedTopSubfolders->isHidden());
    fake.ExpectBox(Interaction::Answer::Ok);
    window->cmdSelectSubfolders_Click();
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text, text(23));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Exclude top subfolders"));

    tree.file(QStringLiteral("old/a.htm"));
    window->lblTotalNumFilesOrBrokenLinks->setText(QStringLiteral("Number of files: 3"));
    setTopFolder({QStringLiteral("old")});
    EXPECT_TRUE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_TRUE(window->txbExcludedSubfolders->isEnabled());
    EXPECT_EQ(label(), text(26));
    EXPECT_EQ(window->lblTotalNumFilesOrBrokenLinks->text(), QString());

    // Stored exclusions do not keep the button on once the last subfolder is gone.
    QDir(tree.path(QStringLiteral("old"))).removeRecursively();
    window->ShowNumExcludedSubfolders();
    EXPECT_FALSE(window->cmdSelectSubfolders->isEnabled());
    EXPECT_FALSE(window->txbExcludedSubfolders->isEnabled());
    EXPECT_FALSE(window->lblNumExcludedTopSubfolders->isHidden());
    EXPECT_EQ(label(), text(29));
    QLabel *shown = window->lblNumExcludedTopSubfolders;
    EXPECT_LE(shown->heightForWidth(shown->width()), shown->height()) << "room for the whole text";

    window->txbTopFolder->setText(tree.path(QStringLiteral("missing/")));
    window->ShowNumExcludedSubfolders();
    EXPECT_FALSE(window->cmdSelectSubfolders->isEnabled());
}

TEST_F(SubfoldersTest, AfterAWalkTheButtonIsOnOnlyIfTheTopFolderHasSubfolders)
{
    tree.file(QStringLiteral("a.htm"));
    start();
    setTopFolder({});
    for (bool withSubfolder : {false, true}) {
        if (withSubfolder)
            tree.folder(QStringLiteral("sub"));
        for (QPushButton *command : {window->cmdListFiles, window->cmdCheckLinks}) {
            SCOPED_TRACE(command->text().toStdString() + (withSubfolder ? " with" : " without"));
            QTest::mouseClick(command, Qt::LeftButton);
            EXPECT_EQ(window->cmdSelectSubfolders->isEnabled(), withSubfolder);
            EXPECT_EQ(window->txbExcludedSubfolders->isEnabled(), withSubfolder);
            EXPECT_FALSE(window->lblTotalNumFilesOrBrokenLinks->text().isEmpty());
        }
    }
}

TEST_F(SubfoldersTest, TicksOnSeveralPagesBecomeTheExclusionsThatListFilesLeavesOut)
{
    tree.file(QStringLiteral("index.htm"));
    for (int i = 0; i < 40; ++i)
        tree.file(QStringLiteral("sub%1/page.htm").arg(i, 4, 10, QLatin1Char('0')));
    start();
    setTopFolder({});
    selectSubfolders([](frmSelectSubfolders &selection) {
        QScrollBar *bar = selection.vsbScrollBar;
        ASSERT_EQ(bar->maximum(), 40 - 13);
        selection.chkSubfolder[1]->click();
        bar->setValue(20);
        selection.chkSubfolder[0]->click();
        bar->setValue(bar->maximum());
        selection.chkSubfolder[12]->click();
        EXPECT_EQ(selection.lblNumSubfolders->text(), QStringLiteral("3 selected (of 40)."));
        selection.cmdAccept->click();
    });

    const QStringList expected{QStringLiteral("sub0001"), QStringLiteral("sub0020"),
                               QStringLiteral("sub0039")};
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText().split(u'\n'), expected);
    EXPECT_EQ(excluded(), expected);
    EXPECT_EQ(label(), QStringLiteral("Three ") + text(27));

    window->cmdListFiles_Click();
    const QString listed = QString::fromLocal8Bit(FileBytes(dataFile(QStringLiteral("files.txt"))));
    for (const QString &name : expected)
        EXPECT_FALSE(listed.contains(name + u'/')) << name.toStdString();
    for (const char *kept : {"sub0000/page.htm", "sub0038/page.htm", "index.htm"})
        EXPECT_TRUE(listed.contains(QString::fromLatin1(kept))) << kept;
}

TEST_F(SubfoldersTest, TheWindowShowsTheExclusionsAndOnlyAcceptChangesThem)
{
    for (const char *name : {"a/x.htm", "b/x.htm", "c/x.htm"})
        tree.file(QString::fromLatin1(name));
    const QStringList stored{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("gone")};
    start();
    setTopFolder(stored);

    selectSubfolders([this](frmSelectSubfolders &selection) {
        EXPECT_EQ(selection.windowTitle(), text(24));
        EXPECT_EQ(selection.strFoldersPassedToSelectFoldersForm, QStringLiteral("a\r\nc\r\ngone"));
        EXPECT_TRUE(selection.chkSubfolder[0]->isChecked() && selection.chkSubfolder[2]->isChecked());
        EXPECT_FALSE(selection.chkSubfolder[1]->isChecked());
        selection.chkSubfolder[1]->click();
        selection.cmdCancel->click();
    });
    EXPECT_EQ(excluded(), stored);
    EXPECT_EQ(label(), QStringLiteral("Three ") + text(27));

    // Closed from its title bar, the window changes nothing and is deleted;
    // the next open makes a new one.
    QPointer<frmSelectSubfolders> first = window->selectSubfolders();
    selectSubfolders([this](frmSelectSubfolders &selection) {
        selection.chkSubfolder[1]->click();
        fake.ExpectBox(Interaction::Answer::Ok);
        selection.close();
    });
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].text,
              QStringLiteral("Please exit this window only by clicking on 'Accept' or 'Cancel'."));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Select Folders"));
    EXPECT_EQ(excluded(), stored);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());

    // Accepting drops the vanished name.
    selectSubfolders([](frmSelectSubfolders &selection) { selection.cmdAccept->click(); });
    EXPECT_EQ(excluded(), (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("a\nc"));
    EXPECT_EQ(label(), QStringLiteral("Two ") + text(27));

    // Accepting nothing ticked clears the exclusions.
    selectSubfolders([](frmSelectSubfolders &selection) {
        selection.cmdSelectDeselectAllSubfolders[0]->click();
        selection.cmdAccept->click();
    });
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QString());
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
    EXPECT_EQ(label(), text(25));
}

} // namespace
} // namespace quillan::test
