#include "engine/TempTree.h"
#include "engine/Unprivileged.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

const SettingsValues kSample{QStringLiteral("/home/me/site/"), QStringLiteral("old\r\ndrafts"),
                            QStringLiteral("temp, .bak"), QStringLiteral("#top"), 0, 1, 2};

const QByteArray kSampleBytes = QByteArrayLiteral(
    "\"/home/me/site/\"\r\n\"old\r\ndrafts\"\r\n\"temp, .bak\"\r\n\"#top\"\r\n 0 \r\n 1 \r\n 2 \r\n");

} // namespace

TEST(SettingsFileFormat, WritesSevenValuesWithQuotesSpacesAndCrLfAndRefusesDoubleQuotes)
{
    EXPECT_EQ(FormatSettingsFile(kSample), kSampleBytes);
    EXPECT_EQ(FirstUnstorableText(kSample), -1);
    SettingsValues values = kSample;

    values.excludedSubfolders = QStringLiteral("a\nb\rc\r\nd");
    EXPECT_TRUE(FormatSettingsFile(values).contains("\r\n\"a\r\nb\r\nc\r\nd\"\r\n"));

    values.excludedLinks = QStringLiteral("say \"hi\"");
    EXPECT_EQ(FirstUnstorableText(values), 3);
    values.excludedSubfolders = QStringLiteral("a\"b");
    EXPECT_EQ(FirstUnstorableText(values), 1);
}

TEST(SettingsFileRead, ReadsFilesWithCrLfLfOrCrLineEndsAndGivesBackWhatWasWritten)
{
    for (const char *lineEnd : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(int(lineEnd[0]));
        QByteArray bytes = kSampleBytes;
        const SettingsFileContent content = ParseSettingsFile(bytes.replace("\r\n", lineEnd));
        // The subfolder lines come back separated by CR LF all the same.
        EXPECT_EQ(content.texts, SettingsTexts(kSample));
        EXPECT_EQ(content.states, (QList<int>{0, 1, 2}));
    }
    // Spaces, commas and blank lines inside the texts come back as written.
    const SettingsValues values{QStringLiteral(" /srv/web site/ "), QStringLiteral("a, b\r\n\r\n  c  "),
                                QStringLiteral(", ,x"), QString(), 1, 0, 0};
    const SettingsFileContent content = ParseSettingsFile(FormatSettingsFile(values));
    EXPECT_EQ(content.texts, SettingsTexts(values));
    EXPECT_EQ(content.states, (QList<int>{1, 0, 0}));
}

TEST(SettingsFileRead, StopsAtAMissingUnreadableOrOutOfRangeValue)
{
    const struct {
        QByteArray bytes;
        qsizetype texts;
        QList<int> states;
    } cases[] = {
        {QByteArray(), 0, {}},
        {kSampleBytes.left(kSampleBytes.indexOf(" 0 ")), 4, {}},
        {QByteArray(kSampleBytes).replace(" 1 \r\n", " one \r\n"), 4, {0}},
        {QByteArray(kSampleBytes).replace(" 0 \r\n", " 3 \r\n"), 4, {}},
        {QByteArray(kSampleBytes).replace(" 0 \r\n", "-1\r\n"), 4, {}},
        {QByteArray(kSampleBytes).replace(" 0 \r\n", "70000\r\n"), 4, {}},
        {QByteArray(kSampleBytes).replace(" 0 \r\n", "\r\n"), 4, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        const SettingsFileContent content = ParseSettingsFile(c.bytes);
        EXPECT_EQ(content.texts.size(), c.texts);
        EXPECT_EQ(content.states, c.states);
    }
}

TEST(SettingsFileRead, TakesUnquotedValuesToTheNextCommaOrLineEndAndAnOpenQuoteToTheEnd)
{
    SettingsFileContent content =
        ParseSettingsFile(QByteArrayLiteral("  /site/  ,sub\r\n\"a\" ignored\r\nx\r\n1\r\n2,0"));
    EXPECT_EQ(content.texts, (QStringList{QStringLiteral("/site/"), QStringLiteral("sub"),
                                          QStringLiteral("a"), QStringLiteral("x")}));
    EXPECT_EQ(content.states, (QList<int>{1, 2, 0}));

    content = ParseSettingsFile(QByteArrayLiteral("\"/site/\r\nrest"));
    EXPECT_EQ(content.texts, QStringList{QStringLiteral("/site/\r\nrest")});
}

TEST(SettingsFileReading, TheEighthValueIsWrittenOnlyWhenNotZeroAndAFileWithoutItKeepsTheBoxes)
{
    // Unticked, the file is the seven-value file byte for byte.
    SettingsValues values = kSample;
    EXPECT_EQ(FormatSettingsFile(values), kSampleBytes);
    for (int reading : {1, 2}) {
        values.browserReading = reading;
        const QByteArray bytes = FormatSettingsFile(values);
        EXPECT_EQ(bytes, kSampleBytes + ' ' + QByteArray::number(reading) + " \r\n");
        const SettingsFileContent content = ParseSettingsFile(bytes);
        EXPECT_TRUE(content.complete());
        EXPECT_EQ(content.states, (QList<int>{0, 1, 2, reading}));
    }

    // A file without it, or with one that cannot be used, leaves the boxes
    // as they were; the other values load all the same.
    for (const QByteArray &bytes : {kSampleBytes, kSampleBytes + " 3 \r\n", kSampleBytes + "x\r\n"}) {
        SCOPED_TRACE(bytes.toStdString());
        HeldSettings held;
        held.values.browserReading = 2;
        const SettingsFileContent content = ParseSettingsFile(bytes);
        EXPECT_TRUE(content.complete());
        ApplySettingsFile(content, held);
        EXPECT_EQ(held.values.browserReading, 2);
        EXPECT_EQ(held.values.includePhpFiles, 2);
    }
    HeldSettings held;
    held.values.browserReading = 2;
    ApplySettingsFile(ParseSettingsFile(kSampleBytes + " 0 \r\n"), held);
    EXPECT_EQ(held.values.browserReading, 0);
}

TEST(SettingsFileOnDisk, ReplacesAnOldFileAndReportsAMissingFolderOrFile)
{
    TempTree tree;
    tree.file(QStringLiteral("s.usr"), QByteArrayLiteral("old content that is longer than the new"));
    EXPECT_EQ(WriteSettingsFile(tree.path(QStringLiteral("s.usr")), kSample), QString());
    EXPECT_EQ(tree.read(QStringLiteral("s.usr")), kSampleBytes);
    EXPECT_EQ(ReadSettingsFile(tree.path(QStringLiteral("s.usr"))).texts, SettingsTexts(kSample));
    EXPECT_EQ(QDir(tree.root()).entryList(QDir::Files), QStringList{QStringLiteral("s.usr")});

    EXPECT_NE(WriteSettingsFile(tree.path(QStringLiteral("no/s.usr")), kSample), QString());
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("no/s.usr"))));
    EXPECT_TRUE(ReadSettingsFile(tree.path(QStringLiteral("none.usr"))).texts.isEmpty());
}

TEST(SettingsFileOnDisk, InAFolderThatTakesNoNewFileAWritableFileIsWrittenInPlace)
{
    const QByteArray old = QByteArrayLiteral("\"/old/\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n 1 \r\n 1 \r\n 1 \r\n");
    for (const bool fileWritable : {true, false}) {
        SCOPED_TRACE(fileWritable ? "writable file" : "read-only file");
        TempTree tree;
        tree.file(QStringLiteral("ro/s.usr"), old);
        const QString file = tree.path(QStringLiteral("ro/s.usr"));
        const QFileDevice::Permissions readable = QFileDevice::ReadOwner | QFileDevice::ReadOther;
        QFile::setPermissions(file, fileWritable ? readable | QFileDevice::WriteOwner | QFileDevice::WriteOther
                                                 : readable);
        QFile::setPermissions(tree.path(QStringLiteral("ro")),
                              readable | QFileDevice::ExeOwner | QFileDevice::ExeOther);
        const std::string error =
            RunAsUnprivileged([&] { return WriteSettingsFile(file, kSample).toStdString(); });
        EXPECT_EQ(error.find("child failed"), std::string::npos) << error;
        EXPECT_EQ(error.empty(), fileWritable) << error;
        EXPECT_EQ(tree.read(QStringLiteral("ro/s.usr")), fileWritable ? kSampleBytes : old);
        EXPECT_EQ(QDir(tree.path(QStringLiteral("ro"))).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("s.usr")});
    }
}

} // namespace quillan::test
