#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "gui/WindowChecks.h"
#include "gui/WhenReady.h"
#include "settings/TargetFileTypes.h"
#include "util/FileProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/frmPopUp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

namespace quillan::test {

namespace {

enum { kSaveForNextRun, kSaveToFile, kSaveInBothWays, kLoadFromFile };

class SettingsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        tree.folder(QStringLiteral("site/old"));
        tree.folder(QStringLiteral("site/drafts"));
        site = tree.path(QStringLiteral("site/"));
        start();
    }

    // The confirmation pop-up would stay for two seconds: the next one shown
    // is recorded and clicked away at once.
    void clickNextPopUp()
    {
        frmPopUp *popUp = window->popUp();
        WhenReady(popUp, [popUp] { return popUp->isVisible(); }, [this, popUp] {
            ++popUpsShown;
            popUpText = popUp->lblMessage->text();
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(popUp->lblMessage, &release);
        });
    }

    // Runs an action by the button; `pick` runs it by choosing it in the list.
    void runAction(int index, bool pick = false)
    {
        window->cboSettings->setCurrentIndex(index);
        pick ? window->cboSettings_Click() : window->cmdSettings_Click();
    }

    void fillSettings()
    {
        window->txbTopFolder->setText(site);
        window->txbExcludedSubfolders->setPlainText(QStringLiteral("old\ndrafts"));
        window->scan().strExcludedSubfolders = {QStringLiteral("old"), QStringLiteral("drafts")};
        window->scan().intNumExcludedSubfolders = 2;
        window->txbExcludedFilepaths->setText(QStringLiteral("temp, .bak"));
        window->txbExcludedLinks->setText(QStringLiteral("#top"));
        SetCheckBoxValue(window->chkTopFolderOnly, 1);
        SetCheckBoxValue(window->chkShowRepeatedLinks, 0);
        SetCheckBoxValue(window->chkIncludePHPfiles, 1);
    }

    QByteArray filledBytes() const
    {
        return "\"" + QFile::encodeName(site)
               + "\"\r\n\"old\r\ndrafts\"\r\n\"temp, .bak\"\r\n\"#top\"\r\n 1 \r\n 0 \r\n 1 \r\n";
    }

    QList<int> options() const
    {
        return {CheckBoxValue(window->chkTopFolderOnly), CheckBoxValue(window->chkShowRepeatedLinks),
                CheckBoxValue(window->chkIncludePHPfiles)};
    }

    // The list the walk uses, which loading fills lower-cased.
    QStringList excluded() const
    {
        return window->scan().strExcludedSubfolders.mid(0, window->scan().intNumExcludedSubfolders);
    }

    static QString defaultFile() { return dataFile(QStringLiteral("nlq.usr")); }

    // Every setting as fillSettings() left it.
    void expectFilled()
    {
        EXPECT_EQ(window->txbTopFolder->text(), site);
        EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("old\ndrafts"));
        EXPECT_EQ(excluded(), (QStringList{QStringLiteral("old"), QStringLiteral("drafts")}));
        EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("temp, .bak"));
        EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("#top"));
        EXPECT_EQ(options(), (QList<int>{1, 0, 1}));
    }

    TempTree tree;
    QString site;
    int popUpsShown = 0;
    QString popUpText;
};

} // namespace

TEST_F(SettingsTest, PickingSaveForNextRunConfirmsAndEverySettingIsBackAfterARestart)
{
    QStringList items;
    for (int i = 0; i < window->cboSettings->count(); ++i)
        items.append(window->cboSettings->itemText(i));
    EXPECT_EQ(items, (QStringList{QStringLiteral("Save for next run"), QStringLiteral("Save to file"),
                                  QStringLiteral("Save in both ways"), QStringLiteral("Load from file")}));
    EXPECT_EQ(window->cboSettings->currentIndex(), 0);
    // Start-up saves nothing, nor does a pick before it has completed.
    window->blnStartupCompleted = false;
    window->cboSettings_Click();
    EXPECT_FALSE(FileExists(defaultFile()));
    window->blnStartupCompleted = true;

    fillSettings();
    clickNextPopUp();
    window->cboSettings_Click();
    EXPECT_EQ(FileBytes(defaultFile()), filledBytes());
    EXPECT_TRUE(fake.fileRequests.empty());
    ASSERT_EQ(popUpsShown, 1);
    EXPECT_EQ(popUpText, window->GetProgramText(50));

    window.reset();
    window = std::make_unique<frmMain>(fake, programFolder());
    window->setEventInterval(0);
    start();
    expectFilled();
}

TEST_F(SettingsTest, SaveToFileAsksForTheFileOpensNextInItsFolderAndReportsAFailure)
{
    fillSettings();
    fake.ExpectFile(tree.path(QStringLiteral("mine.usr")));
    fake.ExpectFile(QString());
    fake.ExpectFile(tree.path(QStringLiteral("missing/s.usr")));
    fake.ExpectBox(Interaction::Answer::Ok);
    clickNextPopUp();
    for (int i = 0; i < 3; ++i)
        runAction(kSaveToFile);
    EXPECT_EQ(tree.read(QStringLiteral("mine.usr")), filledBytes());
    EXPECT_FALSE(FileExists(defaultFile()));
    EXPECT_EQ(popUpsShown, 1) << "neither a cancelled dialog nor a failure confirms";

    ASSERT_EQ(fake.fileRequests.size(), 3u);
    const auto &first = fake.fileRequests[0];
    EXPECT_EQ(first.kind, Interaction::FileDialogKind::Save);
    EXPECT_EQ(first.title, QStringLiteral("Specify file for settings for index module"));
    EXPECT_EQ(first.filter, QStringLiteral("Settings file (*.usr) | *.usr"));
    EXPECT_EQ(first.flags, 2052);
    EXPECT_EQ(first.startFolder, QString());
    EXPECT_EQ(fake.fileRequests[1].startFolder, tree.root());

    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_TRUE(fake.boxes[0].text.startsWith(QStringLiteral("Error when attempting to save settings: ")));
    EXPECT_GT(fake.boxes[0].text.size(), 40);
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Save settings"));
}

TEST_F(SettingsTest, SaveInBothWaysRefusesADoubleQuoteOnceAndWritesTheDefaultFileFirst)
{
    fillSettings();
    tree.folder(QStringLiteral("si\"te/sub"));
    window->txbTopFolder->setText(tree.path(QStringLiteral("si\"te/")));
    window->txbExcludedSubfolders->setPlainText(QStringLiteral("old\nsay \"hi\""));
    window->txbExcludedLinks->setText(QStringLiteral("say \"hi\""));
    // Each refusal tells how to mend the text it names: the top folder and the
    // subfolders are chosen, not typed.
    const char *advice[] = {"Please choose another top folder with 'Top folder'",
                            "subfolder 'say \"hi\"' holds a double quote",
                            "Please untick it in 'Exclude top subfolders'",
                            "the box 'Exclude links containing' holds a double quote",
                            "Please remove the double quote from the box"};
    for (int i = 0; i < 3; ++i)
        fake.ExpectBox(Interaction::Answer::Ok);
    runAction(kSaveInBothWays);
    window->txbTopFolder->setText(site);
    runAction(kSaveInBothWays);
    window->txbExcludedSubfolders->setPlainText(QStringLiteral("old\ndrafts"));
    runAction(kSaveInBothWays);
    ASSERT_EQ(fake.boxes.size(), 3u) << "one refusal a click, not one per save";
    const QString texts = fake.boxes[0].text + fake.boxes[1].text + fake.boxes[2].text;
    for (const char *words : advice)
        EXPECT_TRUE(texts.contains(QString::fromUtf8(words))) << words;
    EXPECT_EQ(fake.boxes[2].title, QStringLiteral("Save settings"));
    EXPECT_FALSE(FileExists(defaultFile()));
    EXPECT_TRUE(fake.fileRequests.empty());

    // A cancelled dialog still leaves the default file written, unconfirmed.
    window->txbExcludedLinks->setText(QStringLiteral("#top"));
    fake.ExpectFile(QString());
    runAction(kSaveInBothWays);
    EXPECT_EQ(FileBytes(defaultFile()), filledBytes());
    EXPECT_EQ(popUpsShown, 0);

    QFile::remove(defaultFile());
    fake.ExpectFile(tree.path(QStringLiteral("both.usr")));
    clickNextPopUp();
    runAction(kSaveInBothWays);
    EXPECT_EQ(FileBytes(defaultFile()), filledBytes());
    EXPECT_EQ(tree.read(QStringLiteral("both.usr")), filledBytes());
    EXPECT_EQ(popUpsShown, 1);
}

TEST_F(SettingsTest, PickingLoadFromFileReadsAFileWrittenWithCrLfAndACancelledLoadEmptiesTheBoxes)
{
    tree.file(QStringLiteral("win.usr"), filledBytes());
    fake.ExpectFile(tree.path(QStringLiteral("win.usr")));
    runAction(kLoadFromFile, true);
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(fake.fileRequests[0].kind, Interaction::FileDialogKind::Open);
    EXPECT_EQ(fake.fileRequests[0].title, QStringLiteral("Specify index module settings file"));
    EXPECT_EQ(fake.fileRequests[0].flags, 6148);
    expectFilled();

    window->strCheckableFileTypes = QStringLiteral("js ");
    fake.ExpectFile(QString());
    runAction(kLoadFromFile);
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QString());
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QString());
    EXPECT_EQ(window->txbExcludedLinks->text(), QString());
    EXPECT_EQ(window->strCheckableFileTypes, DefaultCheckableFileTypes());
    // What the boxes do not show stays as it was.
    EXPECT_EQ(window->txbTopFolder->text(), site);
    EXPECT_EQ(excluded(), (QStringList{QStringLiteral("old"), QStringLiteral("drafts")}));
    EXPECT_EQ(options(), (QList<int>{1, 0, 1}));
}

TEST_F(SettingsTest, LoadTidiesAHandEditedFileAndKeepsWhatItCouldNotRead)
{
    // Edited by hand: no final separator, spaces, a blank line, names in
    // capitals; the second state is no number, so it and the third stay.
    QByteArray top = QFile::encodeName(site);
    top.chop(1);
    tree.file(QStringLiteral("lf.usr"),
              "\"  " + top + " \"\n\" Old \n\nDRAFTS\"\n\" a,b \"\n\"\"\n 0 \n x \n 0 \n");
    for (QCheckBox *box :
         {window->chkTopFolderOnly, window->chkShowRepeatedLinks, window->chkIncludePHPfiles})
        SetCheckBoxValue(box, 2);
    window->LoadSettings(tree.path(QStringLiteral("lf.usr")));
    EXPECT_EQ(window->txbTopFolder->text(), site);
    EXPECT_EQ(excluded(), (QStringList{QStringLiteral("old"), QStringLiteral("drafts")}));
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("a,b"));
    EXPECT_EQ(options(), (QList<int>{0, 2, 2}));

    // Subfolders of a top folder that is gone mean nothing.
    tree.file(QStringLiteral("gone.usr"), "\"" + QFile::encodeName(tree.path(QStringLiteral("gone/")))
                                              + "\"\r\n\"old\"\r\n\"x\"\r\n\"y\"\r\n 0 \r\n 0 \r\n 0 \r\n");
    window->LoadSettings(tree.path(QStringLiteral("gone.usr")));
    EXPECT_EQ(window->txbTopFolder->text(), QString());
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QString());
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("y"));
}

TEST_F(SettingsTest, TheReadingBoxesAreTheEighthValueWrittenOnlyWhenTickedAndAFileWithoutItKeepsThem)
{
    fillSettings();
    ClickCheckBox(window->chkReadAsBrowser);
    ClickCheckBox(window->chkCheckAnchors);
    fake.ExpectFile(tree.path(QStringLiteral("both.usr")));
    clickNextPopUp();
    runAction(kSaveToFile);
    EXPECT_EQ(tree.read(QStringLiteral("both.usr")), filledBytes() + " 2 \r\n");

    // Unticked, the file is the seven-value file of before, byte for byte.
    ClickCheckBox(window->chkReadAsBrowser);
    fake.ExpectFile(tree.path(QStringLiteral("none.usr")));
    clickNextPopUp();
    runAction(kSaveToFile);
    EXPECT_EQ(tree.read(QStringLiteral("none.usr")), filledBytes());

    // Loading that file leaves the boxes; the other gives both back.
    ClickCheckBox(window->chkReadAsBrowser);
    ClickCheckBox(window->chkCheckAnchors);
    window->LoadSettings(tree.path(QStringLiteral("none.usr")));
    EXPECT_TRUE(window->chkReadAsBrowser->isChecked());
    EXPECT_FALSE(window->chkCheckAnchors->isChecked());
    window->LoadSettings(tree.path(QStringLiteral("both.usr")));
    EXPECT_TRUE(window->chkCheckAnchors->isChecked());
    EXPECT_TRUE(window->chkCheckAnchors->isEnabled());
    expectFilled();

    // Clearing all leaves them, as it leaves the three options.
    fake.ExpectBox(Interaction::Answer::Yes);
    window->cboClear->setCurrentIndex(4);
    window->cmdClear_Click();
    EXPECT_TRUE(window->chkReadAsBrowser->isChecked());
    EXPECT_TRUE(window->chkCheckAnchors->isChecked());
}

} // namespace quillan::test
