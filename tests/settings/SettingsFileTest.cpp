#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

SettingsValues sampleValues()
{
    SettingsValues values;
    values.topFolder = QStringLiteral("/home/me/site/");
    values.excludedSubfolders = QStringLiteral("old\r\ndrafts");
    values.excludedFilepaths = QStringLiteral("temp, .bak");
    values.excludedLinks = QStringLiteral("#top");
    values.topFolderOnly = 0;
    values.showRepeatedLinks = 1;
    values.includePhpFiles = 2;
    return values;
}

const QByteArray kSampleBytes = QByteArrayLiteral("\"/home/me/site/\"\r\n"
                                                  "\"old\r\ndrafts\"\r\n"
                                                  "\"temp, .bak\"\r\n"
                                                  "\"#top\"\r\n"
                                                  " 0 \r\n"
                                                  " 1 \r\n"
                                                  " 2 \r\n");

} // namespace

TEST(SettingsFileFormat, WritesSevenValuesWithQuotesSpacesAndCrLf)
{
    EXPECT_EQ(FormatSettingsFile(sampleValues()), kSampleBytes);
}

TEST(SettingsFileFormat, WritesEveryLineBreakInsideATextAsCrLf)
{
    SettingsValues values = sampleValues();
    values.excludedSubfolders = QStringLiteral("a\nb\rc\r\nd");
    const QByteArray bytes = FormatSettingsFile(values);
    EXPECT_TRUE(bytes.contains("\"a\r\nb\r\nc\r\nd\"\r\n")) << bytes.toStdString();
}

TEST(SettingsFileFormat, FindsTheFirstTextThatHoldsADoubleQuote)
{
    SettingsValues values = sampleValues();
    EXPECT_EQ(FirstUnstorableText(values), -1);
    values.excludedLinks = QStringLiteral("say \"hi\"");
    EXPECT_EQ(FirstUnstorableText(values), 3);
    values.excludedSubfolders = QStringLiteral("a\"b");
    EXPECT_EQ(FirstUnstorableText(values), 1);
}

TEST(SettingsFileRead, ReadsAFileWrittenWithCrLf)
{
    const SettingsFileContent content = ParseSettingsFile(kSampleBytes);
    ASSERT_TRUE(content.complete());
    EXPECT_EQ(content.texts, (QStringList{QStringLiteral("/home/me/site/"),
                                          QStringLiteral("old\r\ndrafts"),
                                          QStringLiteral("temp, .bak"), QStringLiteral("#top")}));
    EXPECT_EQ(content.states, (QList<int>{0, 1, 2}));
}

TEST(SettingsFileRead, ReadsAFileEditedWithLfOrCrOnlyLineEnds)
{
    for (const char *lineEnd : {"\n", "\r"}) {
        QByteArray bytes = kSampleBytes;
        bytes.replace("\r\n", lineEnd);
        const SettingsFileContent content = ParseSettingsFile(bytes);
        ASSERT_TRUE(content.complete()) << "line end " << int(lineEnd[0]);
        // The subfolder lines come back separated by CR LF all the same.
        EXPECT_EQ(content.texts[1], QStringLiteral("old\r\ndrafts"));
        EXPECT_EQ(content.texts[3], QStringLiteral("#top"));
        EXPECT_EQ(content.states, (QList<int>{0, 1, 2}));
    }
}

TEST(SettingsFileRead, GivesBackWhatWasWritten)
{
    SettingsValues values;
    values.topFolder = QStringLiteral(" /srv/web site/ ");
    values.excludedSubfolders = QStringLiteral("a, b\r\n\r\n  c  ");
    values.excludedFilepaths = QStringLiteral(", ,x");
    values.excludedLinks = QString();
    values.topFolderOnly = 1;
    const SettingsFileContent content = ParseSettingsFile(FormatSettingsFile(values));
    ASSERT_TRUE(content.complete());
    EXPECT_EQ(content.texts, SettingsTexts(values));
    EXPECT_EQ(content.states, (QList<int>{1, 0, 0}));
}

TEST(SettingsFileRead, StopsAtTheEndOfAShortFile)
{
    QByteArray fourLines = kSampleBytes.left(kSampleBytes.indexOf(" 0 "));
    SettingsFileContent content = ParseSettingsFile(fourLines);
    EXPECT_EQ(content.texts.size(), 4);
    EXPECT_TRUE(content.states.isEmpty());

    content = ParseSettingsFile(QByteArray());
    EXPECT_TRUE(content.texts.isEmpty());
    EXPECT_TRUE(content.states.isEmpty());
}

TEST(SettingsFileRead, StopsAtAValueThatIsNoNumber)
{
    QByteArray bytes = kSampleBytes;
    bytes.replace(" 1 \r\n", " one \r\n");
    const SettingsFileContent content = ParseSettingsFile(bytes);
    EXPECT_EQ(content.texts.size(), 4);
    EXPECT_EQ(content.states, QList<int>{0});
}

TEST(SettingsFileRead, StopsAtAStateOutsideZeroToTwo)
{
    for (const char *bad : {" 3 ", "-1", "70000", ""}) {
        QByteArray bytes = kSampleBytes;
        bytes.replace(" 0 \r\n", QByteArray(bad) + "\r\n");
        const SettingsFileContent content = ParseSettingsFile(bytes);
        EXPECT_EQ(content.texts.size(), 4) << bad;
        EXPECT_TRUE(content.states.isEmpty()) << bad;
    }
}

TEST(SettingsFileRead, TakesUnquotedValuesToTheNextCommaOrLineEnd)
{
    const SettingsFileContent content =
        ParseSettingsFile(QByteArrayLiteral("  /site/  ,sub\r\n\"a\" ignored\r\nx\r\n1\r\n2,0"));
    ASSERT_TRUE(content.complete());
    EXPECT_EQ(content.texts, (QStringList{QStringLiteral("/site/"), QStringLiteral("sub"),
                                          QStringLiteral("a"), QStringLiteral("x")}));
    EXPECT_EQ(content.states, (QList<int>{1, 2, 0}));
}

TEST(SettingsFileRead, TakesAnUnclosedQuoteToTheEndOfTheFile)
{
    const SettingsFileContent content = ParseSettingsFile(QByteArrayLiteral("\"/site/\r\nrest"));
    EXPECT_EQ(content.texts, QStringList{QStringLiteral("/site/\r\nrest")});
}

TEST(SettingsFileOnDisk, ReplacesAnOldFileAndReadsItBack)
{
    TempTree tree;
    tree.file(QStringLiteral("s.usr"), QByteArrayLiteral("old content that is longer than the new"));
    EXPECT_EQ(WriteSettingsFile(tree.path(QStringLiteral("s.usr")), sampleValues()), QString());
    EXPECT_EQ(tree.read(QStringLiteral("s.usr")), kSampleBytes);
    EXPECT_EQ(ReadSettingsFile(tree.path(QStringLiteral("s.usr"))).texts,
              SettingsTexts(sampleValues()));
    EXPECT_EQ(QDir(tree.root()).entryList(QDir::Files), QStringList{QStringLiteral("s.usr")});
}

TEST(SettingsFileOnDisk, ReportsAMissingFolderAndAMissingFile)
{
    TempTree tree;
    EXPECT_NE(WriteSettingsFile(tree.path(QStringLiteral("no/s.usr")), sampleValues()), QString());
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("no/s.usr"))));
    const SettingsFileContent content = ReadSettingsFile(tree.path(QStringLiteral("none.usr")));
    EXPECT_TRUE(content.texts.isEmpty());
}

TEST(SettingsFileOnDisk, AFailedSaveInAReadOnlyFolderKeepsTheOldFileWhole)
{
    TempTree tree;
    const QByteArray old = QByteArrayLiteral("\"/old/\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n 1 \r\n 1 \r\n 1 \r\n");
    tree.file(QStringLiteral("ro/s.usr"), old);
    const QString file = tree.path(QStringLiteral("ro/s.usr"));
    // The file itself may be written; only its folder is closed.
    QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                    | QFileDevice::ReadOther | QFileDevice::WriteOther);
    QFile::setPermissions(tree.path(QStringLiteral("ro")),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                              | QFileDevice::ExeOther);
    const std::string error = RunAsUnprivileged([&] {
        return WriteSettingsFile(file, sampleValues()).toStdString();
    });
    EXPECT_NE(error, "");
    EXPECT_EQ(error.find("child failed"), std::string::npos) << error;
    EXPECT_EQ(tree.read(QStringLiteral("ro/s.usr")), old);
    EXPECT_EQ(QDir(tree.path(QStringLiteral("ro"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("s.usr")});
}

} // namespace quillan::test
