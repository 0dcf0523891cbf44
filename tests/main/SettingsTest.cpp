#include "engine/TempTree.h"
#include "gui/MainWindowTest.h"
#include "settings/TargetFileTypes.h"
#include "util/FileProc.h"
#include "windows/CheckBoxValue.h"
#include "windows/Twips.h"
#include "windows/frmPopUp.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>

namespace quillan::test {

namespace {

enum { kSaveForNextRun, kSaveToFile, kSaveInBothWays, kLoadFromFile };

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

class SettingsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        tree.folder(QStringLiteral("site/old"));
        tree.folder(QStringLiteral("site/drafts"));
        site = tree.path(QStringLiteral("site/"));
    }

    // The confirmation pop-up would stay for two seconds: the next one shown
    // is recorded and clicked away at once.
    void clickNextPopUp()
    {
        frmPopUp *popUp = window->popUp();
        QTimer::singleShot(0, popUp, [this, popUp] {
            if (!popUp->isVisible())
                return;
            ++popUpsShown;
            popUpText = popUp->lblMessage->text();
            popUpGeometry = popUp->geometry();
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(1, 1), QPointF(1, 1),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(popUp->lblMessage, &release);
        });
    }

    void runAction(int index)
    {
        window->cboSettings->setCurrentIndex(index);
        window->cmdSettings_Click();
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

    void expectOptions(int topFolderOnly, int showRepeated, int includePhp)
    {
        EXPECT_EQ(CheckBoxValue(window->chkTopFolderOnly), topFolderOnly);
        EXPECT_EQ(CheckBoxValue(window->chkShowRepeatedLinks), showRepeated);
        EXPECT_EQ(CheckBoxValue(window->chkIncludePHPfiles), includePhp);
    }

    // The list the walk uses, which loading fills lower-cased.
    void expectExcludedSubfolders(const QStringList &names)
    {
        EXPECT_EQ(window->scan().intNumExcludedSubfolders, names.size());
        EXPECT_EQ(window->scan().strExcludedSubfolders.mid(0, names.size()), names);
    }

    void restart()
    {
        window.reset();
        window = std::make_unique<frmMain>(fake, programFolder());
        window->setEventInterval(0);
        start();
    }

    TempTree tree;
    QString site;
    int popUpsShown = 0;
    QString popUpText;
    QRect popUpGeometry;
};

} // namespace

TEST_F(SettingsTest, SaveForNextRunConfirmsAndEverySettingIsBackAfterARestart)
{
    start();
    fillSettings();
    clickNextPopUp();
    runAction(kSaveForNextRun);

    EXPECT_EQ(window->strDefaultSettingsFile(), dataFile(QStringLiteral("nlq.usr")));
    EXPECT_EQ(readBytes(dataFile(QStringLiteral("nlq.usr"))), filledBytes());
    EXPECT_TRUE(fake.fileRequests.empty());
    ASSERT_EQ(popUpsShown, 1);
    EXPECT_EQ(popUpText, window->GetProgramText(50));
    const int top = twips::Top(window.get()) + twips::Top(window->cboClear) + 850;
    const int left = twips::Left(window.get()) + twips::Left(window->cboClear) + 150;
    EXPECT_EQ(popUpGeometry, QRect(twips::ToPixels(left), twips::ToPixels(top),
                                   twips::ToPixels(2000), twips::ToPixels(380)));

    restart();
    EXPECT_EQ(window->txbTopFolder->text(), site);
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("old\ndrafts"));
    expectExcludedSubfolders({QStringLiteral("old"), QStringLiteral("drafts")});
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("temp, .bak"));
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("#top"));
    expectOptions(1, 0, 1);
}

TEST_F(SettingsTest, SaveToFileAsksForTheFileAndOpensNextInItsFolder)
{
    start();
    fillSettings();
    const QString chosen = tree.path(QStringLiteral("mine.usr"));
    fake.ExpectFile(chosen);
    clickNextPopUp();
    runAction(kSaveToFile);
    EXPECT_EQ(readBytes(chosen), filledBytes());
    EXPECT_EQ(popUpsShown, 1);
    EXPECT_FALSE(FileExists(dataFile(QStringLiteral("nlq.usr"))));

    fake.ExpectFile(QString());
    runAction(kSaveToFile);

    ASSERT_EQ(fake.fileRequests.size(), 2u);
    const auto &first = fake.fileRequests[0];
    EXPECT_EQ(first.kind, Interaction::FileDialogKind::Save);
    EXPECT_EQ(first.title, QStringLiteral("Specify file for settings for index module"));
    EXPECT_EQ(first.filter, QStringLiteral("Settings file (*.usr) | *.usr"));
    EXPECT_EQ(first.flags, 2052);
    EXPECT_EQ(first.startFolder, QString());
    EXPECT_EQ(fake.fileRequests[1].startFolder, tree.root());
    EXPECT_EQ(popUpsShown, 1) << "a cancelled dialog confirms nothing";
}

TEST_F(SettingsTest, SaveInBothWaysWritesTheDefaultFileFirst)
{
    start();
    fillSettings();
    const QString chosen = tree.path(QStringLiteral("both.usr"));
    fake.ExpectFile(chosen);
    clickNextPopUp();
    runAction(kSaveInBothWays);
    EXPECT_EQ(readBytes(dataFile(QStringLiteral("nlq.usr"))), filledBytes());
    EXPECT_EQ(readBytes(chosen), filledBytes());
    EXPECT_EQ(popUpsShown, 1);
}

TEST_F(SettingsTest, SaveInBothWaysCancelledKeepsTheDefaultFileWithoutConfirming)
{
    start();
    fillSettings();
    fake.ExpectFile(QString());
    runAction(kSaveInBothWays);
    EXPECT_EQ(readBytes(dataFile(QStringLiteral("nlq.usr"))), filledBytes());
    EXPECT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(popUpsShown, 0);
}

TEST_F(SettingsTest, AFailedSaveIsReportedAndNotConfirmed)
{
    start();
    fillSettings();
    fake.ExpectFile(tree.path(QStringLiteral("missing/folder/s.usr")));
    fake.ExpectBox(Interaction::Answer::Ok);
    runAction(kSaveToFile);
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_TRUE(fake.boxes[0].text.startsWith(
        QStringLiteral("Error when attempting to save settings: ")));
    EXPECT_GT(fake.boxes[0].text.size(), 40);
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Save settings"));
    EXPECT_EQ(fake.boxes[0].icon, Interaction::Icon::Exclamation);
    EXPECT_EQ(popUpsShown, 0);
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("missing"))));
}

TEST_F(SettingsTest, ATextWithADoubleQuoteIsRefusedAndNothingIsWritten)
{
    start();
    const QByteArray old = QByteArrayLiteral("\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n 0 \r\n 0 \r\n 0 \r\n");
    writeBytes(window->strDefaultSettingsFile(), old);
    fillSettings();
    window->txbExcludedLinks->setText(QStringLiteral("say \"hi\""));

    fake.ExpectBox(Interaction::Answer::Ok);
    runAction(kSaveInBothWays);
    ASSERT_EQ(fake.boxes.size(), 1u) << "one refusal, not one per save";
    EXPECT_TRUE(fake.boxes[0].text.contains(QStringLiteral("Exclude links containing")));
    EXPECT_TRUE(fake.boxes[0].text.contains(QStringLiteral("double quote")));
    EXPECT_EQ(fake.boxes[0].title, QStringLiteral("Save settings"));
    EXPECT_TRUE(fake.fileRequests.empty());
    EXPECT_EQ(readBytes(window->strDefaultSettingsFile()), old);

    window->txbExcludedLinks->clear();
    window->txbExcludedSubfolders->setPlainText(QStringLiteral("a\"b"));
    fake.ExpectBox(Interaction::Answer::Ok);
    runAction(kSaveToFile);
    ASSERT_EQ(fake.boxes.size(), 2u);
    EXPECT_TRUE(fake.boxes[1].text.contains(QStringLiteral("Excluded top subfolders")));
    EXPECT_TRUE(fake.fileRequests.empty());
    EXPECT_EQ(popUpsShown, 0);
}

TEST_F(SettingsTest, LoadFromFileReadsAFileWrittenWithCrLf)
{
    start();
    const QString file = tree.path(QStringLiteral("win.usr"));
    writeBytes(file, filledBytes());
    fake.ExpectFile(file);
    runAction(kLoadFromFile);

    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(fake.fileRequests[0].kind, Interaction::FileDialogKind::Open);
    EXPECT_EQ(fake.fileRequests[0].title, QStringLiteral("Specify index module settings file"));
    EXPECT_EQ(fake.fileRequests[0].flags, 6148);
    EXPECT_EQ(window->txbTopFolder->text(), site);
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QStringLiteral("old\ndrafts"));
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 2);
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("temp, .bak"));
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("#top"));
    expectOptions(1, 0, 1);
}

TEST_F(SettingsTest, LoadReadsAFileEditedWithLfAndTidiesTheSubfolderNames)
{
    start();
    const QString file = tree.path(QStringLiteral("lf.usr"));
    // Edited by hand: no final separator, spaces, a blank line, names in capitals.
    QByteArray site = QFile::encodeName(this->site);
    site.chop(1);
    writeBytes(file, "\"  " + site + " \"\n\" Old \n\nDRAFTS\"\n\" a,b \"\n\"\"\n 0 \n 1 \n 0 \n");
    window->LoadSettings(file);
    EXPECT_EQ(window->txbTopFolder->text(), this->site);
    expectExcludedSubfolders({QStringLiteral("old"), QStringLiteral("drafts")});
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("a,b"));
    expectOptions(0, 1, 0);
}

TEST_F(SettingsTest, ATopFolderThatIsGoneDropsTheExcludedSubfolders)
{
    start();
    const QString file = tree.path(QStringLiteral("gone.usr"));
    writeBytes(file, "\"" + QFile::encodeName(tree.path(QStringLiteral("gone/")))
                         + "\"\r\n\"old\"\r\n\"x\"\r\n\"y\"\r\n 0 \r\n 0 \r\n 0 \r\n");
    window->txbTopFolder->setText(site);
    window->scan().intNumExcludedSubfolders = 1;
    window->LoadSettings(file);
    EXPECT_EQ(window->txbTopFolder->text(), QString());
    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QString());
    EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("x"));
    EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("y"));
}

TEST_F(SettingsTest, AShortOrDamagedFileKeepsWhatWasReadAndLeavesTheRest)
{
    start();
    struct Case {
        const char *name;
        QByteArray tail; // after the four texts
        int expectedTopFolderOnly;
        int expectedShowRepeated;
    };
    const Case cases[] = {
        {"four lines", QByteArray(), 2, 2},
        {"a value that is no number", " 1 \r\n x \r\n 0 \r\n", 1, 2},
        {"a state outside 0 to 2", " 3 \r\n 0 \r\n 0 \r\n", 2, 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fillSettings();
        for (QCheckBox *box : {window->chkTopFolderOnly, window->chkShowRepeatedLinks,
                               window->chkIncludePHPfiles})
            SetCheckBoxValue(box, 2);
        const QString file = tree.path(QStringLiteral("short.usr"));
        writeBytes(file, "\"" + QFile::encodeName(site) + "\"\r\n\"\"\r\n\"f\"\r\n\"l\"\r\n" + c.tail);
        window->LoadSettings(file);
        EXPECT_EQ(window->txbTopFolder->text(), site);
        EXPECT_EQ(window->txbExcludedFilepaths->text(), QStringLiteral("f"));
        EXPECT_EQ(window->txbExcludedLinks->text(), QStringLiteral("l"));
        EXPECT_EQ(window->scan().intNumExcludedSubfolders, 0);
        expectOptions(c.expectedTopFolderOnly, c.expectedShowRepeated, 2);
    }
}

TEST_F(SettingsTest, ACancelledLoadStillEmptiesTheThreeBoxes)
{
    start();
    fillSettings();
    window->strCheckableFileTypes = QStringLiteral("js ");
    window->lblNumExcludedTopSubfolders->setText(QStringLiteral("Two excluded."));
    fake.ExpectFile(QString());
    runAction(kLoadFromFile);

    EXPECT_EQ(window->txbExcludedSubfolders->toPlainText(), QString());
    EXPECT_EQ(window->txbExcludedFilepaths->text(), QString());
    EXPECT_EQ(window->txbExcludedLinks->text(), QString());
    EXPECT_EQ(window->strCheckableFileTypes, DefaultCheckableFileTypes());
    // What the boxes do not show stays as it was.
    EXPECT_EQ(window->txbTopFolder->text(), site);
    expectExcludedSubfolders({QStringLiteral("old"), QStringLiteral("drafts")});
    EXPECT_EQ(window->lblNumExcludedTopSubfolders->text(), QStringLiteral("Two excluded."));
    expectOptions(1, 0, 1);
}

TEST_F(SettingsTest, TheActionListStartsOnSaveForNextRunWithoutSaving)
{
    start();
    ASSERT_EQ(window->cboSettings->count(), 4);
    EXPECT_EQ(window->cboSettings->itemText(0), QStringLiteral("Save for next run"));
    EXPECT_EQ(window->cboSettings->itemText(1), QStringLiteral("Save to file"));
    EXPECT_EQ(window->cboSettings->itemText(2), QStringLiteral("Save in both ways"));
    EXPECT_EQ(window->cboSettings->itemText(3), QStringLiteral("Load from file"));
    EXPECT_EQ(window->cboSettings->currentIndex(), 0);
    EXPECT_FALSE(FileExists(window->strDefaultSettingsFile()));

    // Picking an entry before start-up has completed does nothing.
    window->blnStartupCompleted = false;
    window->cboSettings_Click();
    EXPECT_FALSE(FileExists(window->strDefaultSettingsFile()));

    window->blnStartupCompleted = true;
    clickNextPopUp();
    window->cboSettings_Click();
    EXPECT_TRUE(FileExists(window->strDefaultSettingsFile()));
    EXPECT_EQ(popUpsShown, 1);
}

TEST_F(SettingsTest, PickingLoadFromFileOpensTheDialogAndTheButtonOpensItAgain)
{
    start();
    fake.ExpectFile(QString());
    fake.ExpectFile(QString());
    window->cboSettings->setCurrentIndex(kLoadFromFile);
    window->cboSettings_Click();
    EXPECT_EQ(fake.fileRequests.size(), 1u);
    window->cmdSettings_Click();
    EXPECT_EQ(fake.fileRequests.size(), 2u);
}

} // namespace quillan::test
