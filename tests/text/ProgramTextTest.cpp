#include "text/ProgramText.h"

#include "engine/TempTree.h"

#include <gtest/gtest.h>

namespace quillan::test {

namespace {

ProgramTextLoadResult load(ProgramTextTable &table, const char *content)
{
    return table.LoadFromBytes(QByteArray(content));
}

} // namespace

TEST(ProgramText, ReadsNumberedTextsWithCommentsBlankLinesAndAnyLineEnd)
{
    ProgramTextTable table;
    const auto result = load(table, "# comment\r\n\r\n35=First\n36 = Second one \r50=~\r\n"
                                    "60=a\\nb \\\\ c\n");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.code, 4);
    EXPECT_EQ(table.GetProgramText(35), QStringLiteral("First"));
    EXPECT_EQ(table.GetProgramText(36), QStringLiteral(" Second one "));
    EXPECT_EQ(table.GetProgramText(50), QString()); // "~" is the empty text
    EXPECT_EQ(table.GetProgramText(60), QStringLiteral("a\r\nb \\ c"));
    EXPECT_EQ(table.GetProgramText(99), QString()); // absent
}

TEST(ProgramText, ReportsEachLoadFailureWithItsLine)
{
    ProgramTextTable table;
    auto missing = load(table, "# texts\n1=one\n2=\n");
    EXPECT_EQ(missing.code, -503);
    EXPECT_EQ(ProgramTextLoadMessage(missing, QString()), QStringLiteral("Missing string at line 3."));

    auto noEquals = load(table, "7\n");
    EXPECT_EQ(ProgramTextLoadMessage(noEquals, QString()), QStringLiteral("Missing string at line 1."));

    const QByteArray longLine = "1=" + QByteArray(1025, 'x') + "\n";
    auto tooLong = table.LoadFromBytes("1=ok\n" + longLine);
    EXPECT_EQ(tooLong.code, -1002);
    EXPECT_EQ(ProgramTextLoadMessage(tooLong, QString()), QStringLiteral("String too long at line 2."));
    EXPECT_TRUE(table.LoadFromBytes("1=" + QByteArray(1024, 'x')).ok()); // exactly the limit

    auto duplicate = load(table, "5=a\n6=b\n\n5=c\n");
    EXPECT_EQ(duplicate.code, -1504);
    EXPECT_EQ(ProgramTextLoadMessage(duplicate, QString()),
              QStringLiteral("Duplicate in program text at line 4."));

    // Line numbers beyond 500 keep their own kind of message.
    QByteArray many;
    for (int i = 1; i <= 600; ++i)
        many += QByteArray::number(i) + "=t\n";
    many += "1=again\n";
    EXPECT_EQ(ProgramTextLoadMessage(table.LoadFromBytes(many), QString()),
              QStringLiteral("Duplicate in program text at line 601."));
}

TEST(ProgramText, ReportsEmptyUnreadableAndTextlessFiles)
{
    ProgramTextTable table;
    const auto empty = table.LoadFromBytes(QByteArray());
    EXPECT_EQ(empty.code, -6);
    EXPECT_EQ(ProgramTextLoadMessage(empty, QString()), QStringLiteral("File is empty."));

    const auto onlyComments = load(table, "# nothing here\n\n");
    EXPECT_EQ(onlyComments.code, 0);
    EXPECT_EQ(ProgramTextLoadMessage(onlyComments, QString()), QStringLiteral("No program text was read."));

    EXPECT_EQ(ProgramTextLoadMessage(load(table, "abc=1\n"), QString()),
              QStringLiteral("Error reading file."));
    EXPECT_EQ(ProgramTextLoadMessage(load(table, "40000=big\n"), QString()),
              QStringLiteral("Too much program text."));

    TempTree tree;
    const QString missingPath = tree.path(QStringLiteral("qln.dat"));
    const auto cannotOpen = table.LoadFromFile(missingPath);
    EXPECT_EQ(cannotOpen.code, -1);
    EXPECT_EQ(ProgramTextLoadMessage(cannotOpen, missingPath),
              QStringLiteral("Cannot open file containing program text.\r\n") + missingPath);
    EXPECT_TRUE(table.isEmpty());
}

TEST(ProgramText, NamesTheOtherCodesByNumber)
{
    ProgramTextLoadResult result;
    result.code = -5;
    EXPECT_EQ(ProgramTextLoadMessage(result, QString()), QStringLiteral("Error -5"));
    result.code = -9;
    EXPECT_EQ(ProgramTextLoadMessage(result, QString()), QStringLiteral("Error -9"));
    result.code = -2;
    EXPECT_EQ(ProgramTextLoadMessage(result, QString()),
              QStringLiteral("Particular memory allocation error."));
}

TEST(ProgramText, FindsTheFileInTheProgramFolder)
{
    EXPECT_EQ(ProgramTextFilePath(QStringLiteral("/opt/q"), QStringLiteral("qln.dat")),
              QStringLiteral("/opt/q/qln.dat"));
    EXPECT_EQ(ProgramTextFilePath(QStringLiteral("/"), QStringLiteral("qln.dat")),
              QStringLiteral("/qln.dat"));
}

TEST(ProgramText, ShippedFileHoldsEveryTextTheProgramUses)
{
    ProgramTextTable table;
    const auto result = table.LoadFromFile(QStringLiteral(QUILLAN_RESOURCE_DIR "/qln.dat"));
    ASSERT_TRUE(result.ok()) << ProgramTextLoadMessage(result, QString()).toStdString();
    for (int n : {6, 16, 17, 23, 24, 25, 26, 27, 28, 29, 35, 36, 50, 52, 53, 310})
        EXPECT_FALSE(table.GetProgramText(n).isEmpty()) << n;
    EXPECT_EQ(table.GetProgramText(310), QStringLiteral("Quillan"));
}

} // namespace quillan::test
